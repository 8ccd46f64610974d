// exportimage "name", "file.png"[, type]: an element drawn as the preview draws it, saved as an
// image. Transparent colours are written in the mask colour, so that converting the image again
// gives the same data.
#include <string>

#include "convert/convert_settings.h"
#include "convert/image_file.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "project/element_preview.h"
#include "project/element_table.h"
#include "project/element_types.h"
#include "project/project_commands.h"
#include "resources/texts.h"
#include "script/interpreter.h"
#include "script/values.h"

namespace ts {

namespace {

// Skips blanks and one separating comma.
void skipSeparator(char*& p) {
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == ',') ++p;
    while (*p == ' ' || *p == '\t') ++p;
}

// The element the command names: of the given type, else the first of map, bitmap, tileset,
// palette that has the name.
int findExported(const App& app, const std::string& name, int type) {
    if (type >= 0) return TrouveElement(app, uint32_t(type), name);
    for (uint32_t t : {uint32_t(TYPE_CARTE), uint32_t(TYPE_BITMAP), uint32_t(TYPE_MOSAIQUE), uint32_t(TYPE_PALETTE)}) {
        const int index = TrouveElement(app, t, name);
        if (index != kElementNotFound) return index;
    }
    return kElementNotFound;
}

}  // namespace

bool exportElementImage(App& app, int index, const std::string& file) {
    if (index < 0 || index >= elementTable(app).count()) return false;
    const ConvertSettings& convert = convertSettings(app);
    const uint32_t mask = uint32_t(convert.maskRed) << 16 | uint32_t(convert.maskGreen) << 8 | convert.maskBlue;
    ElementPreview drawn;
    if (!buildPreview(app, index, PreviewSettings{}, mask, drawn, PreviewRender{true, true, true})) return false;
    if (drawn.mode == PreviewMode::None) return false;
    if (drawn.partial) {
        // Larger than one picture may be: refused rather than written in part.
        scriptError(app, formatText(tr(T::ExportImageTooLarge), elementTable(app).records[size_t(index)].name.c_str(),
                                    (long long)drawn.fullWidth, (long long)drawn.fullHeight));
        return false;
    }
    if (!saveImageFile(drawn.surface, {}, nativePath(file))) {
        scriptError(app, formatText(tr(T::ExportImageNotWritten), file.c_str()));
        return false;
    }
    return true;
}

void cmdExportImage(App& app, char* args) {
    char* p = args ? args : const_cast<char*>("");
    std::string name, file;
    if (!quotedArgument(p, name, 30)) {
        scriptError(app, tr(T::ExportImageSyntax));
        return;
    }
    skipSeparator(p);
    if (!quotedArgument(p, file)) {
        scriptError(app, tr(T::ExportImageSyntax));
        return;
    }
    skipSeparator(p);
    int type = -1;
    if (*p) {
        std::string word;
        if (!quotedArgument(p, word, 30)) {
            while (*p && *p != ' ' && *p != '\t' && *p != ',' && *p != ';') word += *p++;
        }
        type = elementTypeFromName(word);
        if (type != TYPE_CARTE && type != TYPE_BITMAP && type != TYPE_MOSAIQUE && type != TYPE_PALETTE) {
            scriptError(app, formatText(tr(T::ExportImageBadType), word.c_str()));
            return;
        }
    }
    const int index = findExported(app, name, type);
    if (index == kElementNotFound) {
        scriptError(app, formatText(tr(T::ExportImageNoElement), name.c_str()));
        return;
    }
    exportElementImage(app, index, file);
}

}  // namespace ts
