#include "startup/command_line.h"

#include "host/message_box.h"
#include "resources/texts.h"

namespace ts {

std::string joinArguments(const std::vector<std::string>& args) {
    std::string text;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i) text += ' ';
        // A first argument with blanks is a project path and gets its quotes back, unless it is a
        // conversion text (it begins with "-") or already carries the command line's quotes.
        const std::string& a = args[i];
        const bool quote = i == 0 && a.find_first_of(" \t") != std::string::npos && a[0] != '-' &&
                           a.find('"') == std::string::npos;
        if (quote) text += '"' + a + '"';
        else text += a;
    }
    return text;
}

CommandLineParts splitProjectAndRest(const std::string& commandLine) {
    CommandLineParts parts;
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t close = commandLine.find('"', 1);
        if (close == std::string::npos) {
            parts.projectPath = commandLine.substr(1);
        } else {
            parts.projectPath = commandLine.substr(1, close - 1);
            parts.rest = commandLine.substr(close + 1);
        }
    } else if (commandLine.empty() || commandLine[0] == '-') {
        parts.projectPath = "projet.tsp";
        parts.rest = commandLine;
    } else {
        size_t blank = commandLine.find(' ');
        parts.projectPath = commandLine.substr(0, blank);
        if (blank != std::string::npos) parts.rest = commandLine.substr(blank + 1);
    }
    size_t start = parts.rest.find_first_not_of(" \t");
    parts.rest = start == std::string::npos ? std::string() : parts.rest.substr(start);
    return parts;
}

bool isInteractiveCommandLine(const std::string& commandLine) {
    return splitProjectAndRest(commandLine).rest.empty();
}

std::vector<std::string> splitConversionPieces(const std::string& rest) {
    std::vector<std::string> pieces;
    std::string piece;
    bool quoted = false;
    for (char c : rest) {
        if (c == '"') quoted = !quoted;
        if (c == ':' && !quoted) {
            pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    pieces.push_back(piece);
    return pieces;
}

std::string usageText(const std::string& programName) {
    std::string name = programName.substr(programName.find_last_of("/\\") == std::string::npos
                                              ? 0
                                              : programName.find_last_of("/\\") + 1);
    if (name.empty()) name = "tilesmithery";
    const char* n = name.c_str();
    return formatText(tr(T::StartupUsage), n, n, n, n);
}

}  // namespace ts
