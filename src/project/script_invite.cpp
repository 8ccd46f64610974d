#include "project/script_invite.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "host/host_services.h"
#include "host/text_file.h"
#include "resources/texts.h"
#include "script/interpreter.h"

namespace ts {
namespace {

std::string temporaryFolder() {
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? dir : "/tmp";
}

}  // namespace

bool runScriptInvite(App& app, const std::string& typed) {
    std::string text;
    text.reserve(std::min(typed.size(), kScriptInviteMax) + 8);
    for (size_t i = 0; i < typed.size() && i < kScriptInviteMax; ++i)
        if (typed[i] != '\r') text.push_back(typed[i]);
    text += "\nFin\n\n\n\n";

    // mkstemp creates the file exclusively with mode 0600 under a name no one else holds.
    std::string pattern = temporaryFolder() + "/tilesmithery-script-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) {
        MessageBoxRequest request;
        request.caption = tr(T::CaptionError);
        char message[600];
        std::snprintf(message, sizeof message, tr(T::ExecuteTempFailed), std::strerror(errno));
        request.text = message;
        request.icon = Icon::Error;
        hostServices(app).messageBox(request);
        return false;
    }
    const std::string path(name.data());
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) break;
        written += size_t(n);
    }
    ::close(fd);
    std::unique_ptr<TextFile> file = written == text.size() ? TextFile::open(path, "r") : nullptr;
    // The name goes at once; the open file lives until the run closes it.
    ::unlink(path.c_str());
    if (file) runScript(app, std::move(file));
    return true;
}

}  // namespace ts
