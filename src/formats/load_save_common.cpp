#include "formats/load_save_common.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include "formats/format_commands.h"
#include "formats/format_table.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "formats/format_state.h"
#include "formats/platform_state.h"
#include "host/host_services.h"
#include "project/element_record.h"
#include "script/reference_file.h"
#include "script/reference_file.h"

namespace ts {

SaveTarget::~SaveTarget() { abandon(); }

bool SaveTarget::open(const std::string& path) {
    abandon();
    reason_.clear();
    if (path.empty()) return false;
    if (!canReplaceFile(path, &reason_)) return false;
    path_ = path;
    return true;
}

bool SaveTarget::commit(const std::string& bytes) {
    if (path_.empty()) return false;
    const bool ok = writeFileAtomically(path_, bytes, &reason_);
    path_.clear();
    return ok;
}

void SaveTarget::abandon() { path_.clear(); }

void fileError(App& app, const std::string& path, const std::string& text) {
    showBox(hostServices(app), path, text, Icon::Error);
}

size_t textSizeEstimate(const FormatSection& section, int64_t values, size_t perValue, int64_t lines) {
    values = std::max<int64_t>(values, 0);
    lines = std::max<int64_t>(lines, 0);
    int64_t size = values * int64_t(perValue) + lines * int64_t(section.line.size()) +
                   int64_t(section.declaration.size() + section.end.size()) + 1024;
    if (section.nEvery >= 1) size += values / section.nEvery * int64_t(section.everyX.size());
    return size_t(std::min<int64_t>(size, kDataFileLimit));
}

bool openSaveTarget(App& app, SaveTarget& target, const std::string& path, T failText) {
    if (target.open(path)) return true;
    // A name that leads nowhere gets the usual text; a file or folder that refuses the write
    // (read-only, no access, not a file) says why.
    const std::string folder = directoryOf(path);
    if (path.empty() || (!folder.empty() && !isDirectory(folder)) || target.reason().empty())
        fileError(app, path, tr(failText));
    else
        fileError(app, path, formatText(tr(T::SaveOpenRefused), target.reason().c_str()));
    return false;
}

bool commitSave(App& app, SaveTarget& target, const std::string& path, const TemplateOutput& out) {
    if (target.commit(out.bytes)) return true;
    fileError(app, path, formatText(tr(T::SaveWriteFailed), target.reason().c_str()));
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

bool openDataFile(App& app, const ElementRecord& element, int sectionIndex, T missingText, OpenedDataFile& file) {
    file.path = element.file;
    if (!readDataFile(app, element.file, file.data, missingText)) return false;
    resetTemplateVariables(app);
    setTemplateText(app, "packing", "");
    setTemplateText(app, "link", "");
    setTemplateText(app, "name", "");
    setTemplateText(app, "type", "");
    file.section = currentSection(app, sectionIndex);
    readSection(app, file.section.refInfo, element);
    file.position = matchTemplate(app, file.data.data(), file.data.size(), 0, file.section.declaration);
    return file.position <= file.data.size();
}

int64_t readRows(App& app, const OpenedDataFile& file, const std::string& field, int32_t width, int32_t height,
                 uint32_t* cells) {
    const FormatSection& section = file.section;
    const char* bytes = file.data.data();
    const size_t length = file.data.size();
    size_t position = file.position;
    const bool perRow = !section.line.empty();
    int64_t running = 0;
    // No cells, nothing to read: a header of 0 x 2000000000 must not walk two billion empty rows.
    if (width <= 0 || height <= 0) return 0;
    for (int32_t y = 0; y < height; ++y) {
        uint32_t* row = cells + int64_t(y) * width;
        for (int32_t x = 0; x < width; ++x) {
            if (everyBoundary(section.nEvery, perRow ? x : running) && !section.everyX.empty()) {
                position = matchTemplate(app, bytes, length, position, section.everyX);
                if (position > length) return running;
            }
            uint32_t value = 0;
            size_t next = readElement(app, bytes, length, position, field, value);
            if (next > length) return running;
            position = next;
            row[x] = value;
            ++running;
        }
        if (perRow) {
            position = matchTemplate(app, bytes, length, position, section.line);
            if (position > length) return running;
        }
    }
    return running;
}

int checkTilesetHeader(App& app, const std::string& path, int32_t tileX, int32_t tileY, int32_t size,
                       std::vector<uint32_t>& pixels, int64_t& blocks) {
    if (tileX < 8 || tileY < 8 || tileX > 1024 || tileY > 1024 || size < 0) {
        fileError(app, path, formatText(tr(T::LoadBadTileSize), int(tileX), int(tileY)));
        return 0;
    }
    blocks = int64_t(tileX / 8) * (tileY / 8) * size;
    if (blocks > kTileBlockLimit) {
        fileError(app, path, tr(T::LoadTileLimit));
        pixels.clear();
        return -1;
    }
    return 1;
}

void setElementTexts(App& app, const ElementRecord& element) {
    setTemplateText(app, "file", element.baseFile);
    const std::string& name = platformState(app).conversionName.empty() ? element.name : platformState(app).conversionName;
    setTemplateText(app, "name", name);
}

int findProjectElement(const App& app, uint32_t type, const std::string& file) {
    const std::vector<ElementRecord>& records = elementTable(app).records;
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

UserBufferGuard::UserBufferGuard(App& app) : app_(app), saved_(formatState(app).userBuffers) {}
UserBufferGuard::~UserBufferGuard() { formatState(app_).userBuffers = saved_; }

}  // namespace ts
