#include "project/element_properties.h"

#include <cstdio>

#include "host/file_system.h"
#include "host/host_services.h"
#include "host/message_box.h"
#include "project/element_commands.h"
#include "project/element_table.h"
#include "resources/texts.h"

namespace ts {
namespace {

Answer ask(App& app, T caption, const std::string& text, Icon icon, Buttons buttons, Answer preselected) {
    return showBox(hostServices(app), tr(caption), text, icon, buttons, preselected);
}

std::string withPath(T id, const std::string& path) {
    char text[1400];
    std::snprintf(text, sizeof text, tr(id), path.c_str());
    return text;
}

}  // namespace

ElementPropertiesState elementPropertiesOf(const App& app, int index) {
    ElementPropertiesState state;
    const auto& records = elementTable(app).records;
    if (index < 0 || index >= int(records.size())) return state;
    const ElementRecord& r = records[size_t(index)];
    state.file = r.file;
    state.baseFile = r.baseFile;
    state.name = r.name;
    state.folder = r.inFolder() ? r.folder : std::string();
    state.type = r.type();
    for (const auto& other : records)
        if (other.isFolder()) state.folders.push_back(other.name);
    return state;
}

int applyElementProperties(App& app, int index, const ElementPropertiesState& state) {
    auto& records = elementTable(app).records;
    if (index < 0 || index >= int(records.size())) return -1;
    {
        ElementRecord& r = records[size_t(index)];
        if (state.type != r.type() && state.type <= kElementTypeMask &&
            ask(app, T::CaptionWarning, tr(T::PropertiesTypeWarning), Icon::Warning, Buttons::YesNo, Answer::No) ==
                Answer::Yes)
            r.typeAndFlags = (r.typeAndFlags & ~kElementTypeMask) | state.type;
        if (state.file != r.file && !state.file.empty()) {
            if (openInEditor(app, r)) {
                ask(app, T::CaptionError, withPath(T::ErrorElementInEditor, r.name), Icon::Error, Buttons::Ok, Answer::Ok);
            } else if (!fileExists(state.file)) {
                ask(app, T::CaptionError, withPath(T::PropertiesFileMissing, state.file), Icon::Error, Buttons::Ok,
                    Answer::Ok);
            } else {
                const std::string old = r.file;
                r.file = state.file;
                if (fileExists(old) && ask(app, T::CaptionQuestion, withPath(T::PropertiesDeleteOldFile, old),
                                           Icon::Question, Buttons::YesNo, Answer::No) == Answer::Yes &&
                    !hostServices(app).moveToTrash(absolutePath(old)))
                    ask(app, T::CaptionError, withPath(T::ErrorTrashFailed, old), Icon::Error, Buttons::Ok, Answer::Ok);
            }
        }
        records[size_t(index)].baseFile = state.baseFile.substr(0, kElementPathMax);
        ElementRecord& again = records[size_t(index)];
        if (state.folder.empty()) {
            again.typeAndFlags &= ~kInFolderFlag;
            again.folder.clear();
        } else {
            again.typeAndFlags |= kInFolderFlag;
            again.folder = state.folder;
        }
    }
    if (cleanElementName(state.name) != records[size_t(index)].name) return renameRecord(app, index, state.name);
    return index;
}

}  // namespace ts
