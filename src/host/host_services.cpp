#include "host/host_services.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/text_encoding.h"
#include "resources/texts.h"

extern char** environ;

namespace ts {

void HostServices::noteBox(const MessageBoxRequest& request) {
    ++boxesShown_;
    // One rule for every box: an error or warning icon, an error or warning caption, or a
    // diagnostic makes the run a failure.
    if (request.icon == Icon::Error || request.icon == Icon::Warning || request.caption == tr(T::CaptionDebugging) ||
        request.caption == tr(T::CaptionError) || request.caption == tr(T::CaptionWarning))
        failureSeen_ = true;
}

uint64_t HostServices::availableMemory() const {
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || size <= 0) return uint64_t(256) << 20;  // unknown: a modest budget
    return uint64_t(pages) * uint64_t(size);
}

uint64_t HostServices::milliseconds() const {
    using namespace std::chrono;
    return uint64_t(duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Answer BatchHost::messageBox(const MessageBoxRequest& request) {
    noteBox(request);
    // Texts hold Windows line breaks (CR LF); the terminal gets plain line feeds.
    std::string text = toUtf8(request.text);
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.erase(at, 1);
    std::string line = toUtf8(request.caption) + ": " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return request.defaultAnswer;
}

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        char c = commandLine[i];
        if (quote) {
            if (c == quote) {
                quote = 0;
            } else if (c == '\\' && quote == '"' && i + 1 < commandLine.size() &&
                       (commandLine[i + 1] == '"' || commandLine[i + 1] == '\\')) {
                word += commandLine[++i];
            } else {
                word += c;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < commandLine.size()) {
            word += commandLine[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

namespace {
// Starts argv detached (double fork so that no zombie is left), without waiting for it.
bool spawnDetached(const std::vector<std::string>& args) {
    if (args.empty()) return false;
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        setsid();
        pid_t grandchild = 0;
        int rc = posix_spawnp(&grandchild, argv[0], nullptr, nullptr, argv.data(), environ);
        _exit(rc == 0 ? 0 : 127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
}  // namespace

bool BatchHost::startProgram(const std::string& commandLine) {
    std::vector<std::string> args;
    for (const auto& w : splitCommandLine(commandLine)) args.push_back(toUtf8(w));
    return spawnDetached(args);
}

bool BatchHost::openFile(const std::string& path) {
    return spawnDetached({"xdg-open", toUtf8(path)});
}

bool BatchHost::moveToTrash(const std::string& path) {
    // Without a desktop session a batch run asks gio; when that fails the file stays.
    return spawnDetached({"gio", "trash", toUtf8(path)});
}

Answer RecordingHost::messageBox(const MessageBoxRequest& request) {
    noteBox(request);
    boxes.push_back(request);
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    return request.defaultAnswer;
}

bool RecordingHost::startProgram(const std::string& commandLine) {
    started.push_back(commandLine);
    return true;
}

bool RecordingHost::openFile(const std::string& path) {
    opened.push_back(path);
    return true;
}

bool RecordingHost::moveToTrash(const std::string& path) {
    trashed.push_back(path);
    if (trashSucceeds) {
        std::error_code ec;
        std::filesystem::remove(std::filesystem::path(path), ec);
    }
    return trashSucceeds;
}

}  // namespace ts
