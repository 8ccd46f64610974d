#include "project/legacy_project.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "host/file_system.h"
#include "host/message_box.h"
#include "host/host_services.h"
#include "project/element_table.h"
#include "resources/texts.h"

namespace ts {
namespace {

constexpr char kLegacyMagic[] = "Tilesmithery 02";  // 15 bytes, no terminator in the file

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

uint32_t readLe32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A zero-terminated field of a record; the text stops at the field's end when it has no zero.
std::string field(const unsigned char* p, size_t width) {
    const void* zero = std::memchr(p, 0, width);
    size_t n = zero ? size_t(static_cast<const unsigned char*>(zero) - p) : width;
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace

bool ReadLegacyProject(App& app, const std::string& path) {
    std::unique_ptr<FILE, FileCloser> file(openFile(path, "rb"));
    if (!file) return false;
    unsigned char header[kLegacyHeaderSize];
    if (std::fread(header, 1, sizeof header, file.get()) != sizeof header) return false;
    if (std::memcmp(header, kLegacyMagic, 15) != 0) return false;

    const uint32_t announced = readLe32(header + 15);
    const int64_t size = fileSize(path);
    const uint64_t held = size > int64_t(kLegacyHeaderSize) ? uint64_t(size - int64_t(kLegacyHeaderSize)) / kLegacyRecordSize : 0;
    const uint64_t toRead = std::min<uint64_t>({announced, held, uint64_t(kElementCapacity)});

    unsigned char record[kLegacyRecordSize];
    uint64_t read = 0;
    for (; read < toRead; ++read) {
        if (std::fread(record, 1, sizeof record, file.get()) != sizeof record) break;
        ElementRecord r;
        r.baseFile = field(record + 4, 260);
        r.file = field(record + 264, 260);
        r.name = field(record + 524, 32);
        r.typeAndFlags = (readLe32(record + 556) + 1) & kElementTypeMask;
        addElement(app, std::move(r));
    }
    if (read < announced) {
        if (announced > uint32_t(kElementCapacity) && read == uint64_t(kElementCapacity))
            showBox(hostServices(app), tr(T::CaptionWarning),
                    formatText(tr(T::ProjectTooManyElements), path.c_str(), kElementCapacity, kElementCapacity),
                    Icon::Warning, Buttons::Ok, Answer::Ok, false);
        else
            showBox(hostServices(app), tr(T::CaptionWarning),
                    formatText(tr(T::ProjectLegacyShort), path.c_str(), announced, unsigned(read)),
                    Icon::Warning, Buttons::Ok, Answer::Ok, false);
    }
    return true;
}

}  // namespace ts
