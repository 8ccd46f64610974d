#pragma once
// Reading the program's command line.
#include <string>
#include <vector>

namespace ts {

// The command-line text as the program reads it, rebuilt from the arguments (without the
// program's own name): the first argument is put in double quotes when it holds a blank, unless
// it begins with "-" (a conversion text) or holds double quotes of its own (it is then read by
// the command line's quoting rule as it stands); the others are joined with one blank.
std::string joinArguments(const std::vector<std::string>& args);

struct CommandLineParts {
    std::string projectPath;  // "projet.tsp" when the command line names none
    std::string rest;         // conversion text, statements, or empty (interactive)
};

// The first word is the project path: a quoted text, or the text up to the first blank; an
// empty command line or one that begins with "-" names no project.
CommandLineParts splitProjectAndRest(const std::string& commandLine);

// True when the command line asks for the window: it names at most a project.
bool isInteractiveCommandLine(const std::string& commandLine);

// The --help text of this edition (Windows-1252): the modes, the exit status and the environment
// the program reads, with examples under the name the program was started with.
std::string usageText(const std::string& programName);

// A batch conversion text cut at every ":" that is not inside double quotes.
std::vector<std::string> splitConversionPieces(const std::string& rest);

}  // namespace ts
