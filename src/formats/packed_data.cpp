#include "formats/packed_data.h"

#include <algorithm>

#include "formats/load_save_common.h"
#include "formats/template_directive.h"
#include "formats/template_reader.h"
#include "formats/template_variables.h"
#include "host/message_box.h"
#include "formats/format_state.h"
#include "resources/texts.h"

namespace ts {

namespace {

// Whether the declaration writes %packing% (with or without a prefix).
bool declarationNamesPacking(std::string_view declaration) {
    for (size_t i = declaration.find('%'); i != std::string_view::npos; i = declaration.find('%', i)) {
        Directive d = directiveAt(declaration, i);
        if (!isControlWord(d.text) && parseVariableReference(d.text).name == "packing") return true;
        i = d.next;
    }
    return false;
}

}  // namespace

bool preparePackedData(App& app, const FormatSection& section, Packing packing, const std::vector<uint8_t>& raw,
                       const std::string& path, PackedStream& stream) {
    if (!declarationNamesPacking(section.declaration) || section.element3.empty()) {
        fileError(app, path, formatText(tr(T::PackedFormatCannotHold), formatState(app).current.name.c_str()));
        return false;
    }
    if (raw.size() > kPackedSizeLimit) {
        fileError(app, path, formatText(tr(T::PackedTooLarge), (long long)raw.size(), (long long)kPackedSizeLimit));
        return false;
    }
    stream.packing = packing;
    stream.unpackedSize = raw.size();
    stream.bytes = packData(packing, raw.data(), raw.size());
    stream.bytes.resize((stream.bytes.size() + 3) / 4 * 4, 0);
    setTemplateText(app, "packing", packingName(packing));
    setTemplateInteger(app, "unpacked", int32_t(raw.size()));
    setTemplateInteger(app, "packed", int32_t(stream.bytes.size() / 4));
    setTemplateInteger(app, "memory", int32_t(stream.bytes.size()));
    setTemplateText(app, "type", formatState(app).current.type32);
    return true;
}

void writePackedWords(App& app, TemplateOutput& out, const FormatSection& section, const PackedStream& stream) {
    const NumberFormat field(section.element3);
    const size_t words = stream.bytes.size() / 4;
    for (size_t w = 0; w < words; ++w) {
        if (everyBoundary(section.nEvery, int64_t(w))) writeTemplate(app, out, section.everyX);
        field.write(app, out, littleEndianAt(stream.bytes.data() + 4 * w, 4));
    }
}

bool packingOfHeader(App& app, const std::string& path, Packing& packing) {
    packing = Packing::None;
    const std::string text = getTemplateText(app, "packing");
    if (text.empty()) return true;
    if (packingFromName(text, packing)) return true;
    fileError(app, path, formatText(tr(T::PackedUnknownMethod), text.substr(0, 100).c_str()));
    return false;
}

bool readPackedData(App& app, const OpenedDataFile& file, Packing packing, int32_t wordCount, size_t expectedSize,
                    std::vector<uint8_t>& out) {
    out.clear();
    const FormatSection& section = file.section;
    const char* bytes = file.data.data();
    const size_t length = file.data.size();
    size_t position = file.position;
    // Every word takes at least one byte of the file, and no stream is longer than its data plus
    // a flag byte for every eight bytes.
    constexpr size_t kLongestStreamWords = (kPackedSizeLimit + kPackedSizeLimit / 8 + 16) / 4;
    size_t limit = std::min(length - std::min(position, length), kLongestStreamWords);
    if (wordCount > 0) limit = std::min(limit, size_t(wordCount));
    std::vector<uint8_t> stream;
    stream.reserve((wordCount > 0 ? limit : std::min<size_t>(limit, 1 << 16)) * 4);
    for (size_t w = 0; w < limit; ++w) {
        if (everyBoundary(section.nEvery, int64_t(w)) && !section.everyX.empty()) {
            size_t next = matchTemplate(app, bytes, length, position, section.everyX);
            if (next > length) break;
            position = next;
        }
        uint32_t value = 0;
        size_t next = readElement(app, bytes, length, position, section.element3, value);
        if (next > length) break;
        position = next;
        appendLittleEndian(stream, value, 4);
    }

    const std::string& path = file.path;
    uint8_t method = 0;
    size_t promised = 0;
    if (!readPackedHeader(stream.data(), stream.size(), method, promised) ||
        method != (packing == Packing::Lz77 ? kLz77Header : kRleHeader)) {
        fileError(app, path, formatText(tr(T::PackedBadHeader), packingName(packing)));
        return false;
    }
    const size_t expected = expectedSize == kAnySize ? promised : expectedSize;
    switch (unpackData(stream.data(), stream.size(), expected, out)) {
        case UnpackStatus::Ok: return true;
        case UnpackStatus::UnknownMethod:
            fileError(app, path, formatText(tr(T::PackedBadHeader), packingName(packing)));
            break;
        case UnpackStatus::SizeMismatch:
            fileError(app, path, formatText(tr(T::PackedSizeMismatch), (long long)promised, (long long)expected));
            break;
        case UnpackStatus::Truncated:
            fileError(app, path, formatText(tr(T::PackedTruncated), (long long)promised));
            break;
        case UnpackStatus::BeforeStart: fileError(app, path, tr(T::PackedBeforeStart)); break;
    }
    return false;
}

}  // namespace ts
