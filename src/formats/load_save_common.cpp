#include "formats/load_save_common.h"

#include <cstdio>
#include <unistd.h>

#include "formats/format_commands.h"
#include "formats/template_variables.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "project/app_state.h"

namespace ts {

SaveTarget::~SaveTarget() { abandon(); }

bool SaveTarget::open(const std::string& path) {
    abandon();
    if (path.empty()) return false;
    path_ = path;
    // The temporary file sits beside the target so that the final rename stays on one volume.
    tempPath_ = path + ".tmp" + std::to_string(::getpid());
    FILE* f = openFile(tempPath_, "wb");
    if (!f) return false;
    file_ = f;
    return true;
}

bool SaveTarget::commit(const std::string& bytes) {
    FILE* f = static_cast<FILE*>(file_);
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    file_ = nullptr;
    if (ok) ok = renameFile(tempPath_, path_);
    if (!ok) removeFile(tempPath_);
    tempPath_.clear();
    return ok;
}

void SaveTarget::abandon() {
    if (file_) {
        std::fclose(static_cast<FILE*>(file_));
        file_ = nullptr;
    }
    if (!tempPath_.empty()) {
        removeFile(tempPath_);
        tempPath_.clear();
    }
}

void fileError(App& app, const std::string& path, const std::string& text) {
    showBox(app.host, path, text, Icon::Error);
}

bool openSaveTarget(App& app, SaveTarget& target, const std::string& path, T failText) {
    if (target.open(path)) return true;
    fileError(app, path, tr(failText));
    return false;
}

bool commitSave(App& app, SaveTarget& target, const std::string& path, const TemplateOutput& out) {
    if (target.commit(out.bytes)) return true;
    fileError(app, path, tr(T::SaveWriteFailed));
    return false;
}

bool readDataFile(App& app, const std::string& path, std::string& data, T missingText) {
    data.clear();
    AutoSelectFormat(app, path);
    int64_t size = path.empty() ? -1 : fileSize(path);
    if (size < 0) {
        fileError(app, path, tr(missingText));
        return false;
    }
    if (size > kDataFileLimit) {
        fileError(app, path, formatText(tr(T::LoadFileTooLarge), (long long)size, (long long)kDataFileLimit));
        return false;
    }
    if (!readWholeFile(path, data, kDataFileLimit)) {
        // It vanished or grew past the limit between the two looks.
        fileError(app, path, tr(missingText));
        return false;
    }
    return true;
}

void setElementTexts(App& app, const ElementRecord& element) {
    setTemplateText(app, "file", element.baseFile);
    const std::string& name = app.platforms.conversionName.empty() ? element.name : app.platforms.conversionName;
    setTemplateText(app, "name", name);
}

int findProjectElement(const App& app, uint32_t type, const std::string& file) {
    const std::vector<ElementRecord>& records = app.elements.records;
    for (size_t i = 0; i < records.size(); ++i) {
        const ElementRecord& r = records[i];
        if (!r.isFolder() && r.type() == type && r.file == file) return int(i);
    }
    return -1;
}

int gbaDepthFromBits(int32_t bits) {
    switch (bits) {
    case 32: return 3;
    case 15: return 2;
    case 4: return 0;
    default: return 1;
    }
}

UserBufferGuard::UserBufferGuard(App& app) : app_(app), saved_(app.formats.userBuffers) {}
UserBufferGuard::~UserBufferGuard() { app_.formats.userBuffers = saved_; }

}  // namespace ts
