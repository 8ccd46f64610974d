#include "project/element_commands.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "editor/editor_document.h"
#include "formats/format_state.h"
#include "host/file_system.h"
#include "host/host_services.h"
#include "host/message_box.h"
#include "project/element_table.h"
#include "project/element_types.h"
#include "project/tree_layout.h"
#include "resources/texts.h"
#include "script/reference_file.h"
#include "script/settings.h"

namespace ts {
namespace {

Answer ask(App& app, T caption, const std::string& text, Icon icon, Buttons buttons, Answer preselected) {
    return showBox(hostServices(app), tr(caption), text, icon, buttons, preselected);
}

std::string format(T id, const std::string& a, const std::string& b = {}) {
    std::vector<char> buffer(std::strlen(tr(id)) + a.size() + b.size() + 16);
    std::snprintf(buffer.data(), buffer.size(), tr(id), a.c_str(), b.c_str());
    return buffer.data();
}

int folderIndex(const App& app, const std::string& name) {
    const auto& records = elementTable(app).records;
    for (int i = 0; i < int(records.size()); ++i)
        if (records[size_t(i)].isFolder() && records[size_t(i)].name == name) return i;
    return -1;
}

bool canOpen(const std::string& path) {
    if (path.empty() || !fileExists(path)) return false;
    FILE* f = openFile(path, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

size_t lastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

}  // namespace

bool openInEditor(App& app, const ElementRecord& record) {
    const EditorDocument& document = editorDocument(app);
    if (!document.open || record.file.empty()) return false;
    const std::string file = absolutePath(record.file);
    for (int i = 0; i < document.count; ++i)
        if (absolutePath(document.planes[size_t(i)].element.file) == file) return true;
    return false;
}

std::string cleanElementName(const std::string& text) {
    std::string name;
    name.reserve(text.size());
    for (unsigned char c : text) name.push_back(c < 0x20 || c == 0x7F ? ' ' : char(c));
    size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    name = name.substr(first, name.find_last_not_of(' ') - first + 1);
    if (name.size() > kElementNameMax) name.resize(kElementNameMax);
    return name;
}

std::string duplicateFilePath(const std::string& file, const std::string& newName) {
    size_t cut = lastSeparator(file);
    std::string directory = cut == std::string::npos ? std::string() : file.substr(0, cut);
    std::string fileName = cut == std::string::npos ? file : file.substr(cut + 1);
    size_t dot = fileName.find('.');
    std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
    // The separator the data file's path already uses.
    char separator = cut == std::string::npos ? '\\' : file[cut];
    std::string path;
    if (!directory.empty()) path = directory + separator;
    path += newName;
    if (!extension.empty()) path += "." + extension;
    return path;
}

int renameRecord(App& app, int index, const std::string& text, int duplicatedFrom) {
    auto& records = elementTable(app).records;
    if (index < 0 || index >= int(records.size())) return -1;
    const std::string name = cleanElementName(text);
    if (name.empty()) return -1;
    ElementRecord record = records[size_t(index)];

    if (record.isFolder()) {
        if (name == record.name) return -1;
        if (folderIndex(app, name) >= 0 || rootFolderType(name) >= 0) {
            const std::string place = folderPlaceLabel(record.inFolder() ? record.folder : std::string());
            ask(app, T::CaptionError, format(T::ErrorFolderExists, place), Icon::Error, Buttons::Ok, Answer::Ok);
            return -1;
        }
        const std::string old = record.name;
        for (auto& r : records)
            if (r.inFolder() && r.folder == old) r.folder = name;
        for (auto& slot : systemSettings(app).defFolders)
            if (slot == old) slot = name;
        records[size_t(index)].name = name;
        return index;
    }

    if (name == record.name && duplicatedFrom < 0) return -1;
    if (duplicatedFrom >= 0 && duplicatedFrom < int(records.size())) {
        // The duplicate gets a data file of its own, named after it; an existing file is kept.
        const std::string source = records[size_t(duplicatedFrom)].file;
        const std::string target = duplicateFilePath(source, name);
        if (!source.empty() && !fileExists(target) && fileExists(source)) {
            if (copyFile(source, target)) {
                record.file = target;
                reworkSection(app, 2, source, &target);
            } else {
                ask(app, T::CaptionError, format(T::ErrorDuplicateCopyFailed, target, source), Icon::Error, Buttons::Ok,
                    Answer::Ok);
            }
        }
    }
    record.name = name;
    if (!fileExists(record.file)) {
        // Taking it out would lose it: the table keeps only elements whose file exists when added.
        makeUniqueName(app, record, false);
        records[size_t(index)].name = record.name;
        return index;
    }
    removeElement(app, index);
    return addElement(app, record);
}

int duplicateRecord(App& app, int index) {
    const auto& records = elementTable(app).records;
    if (index < 0 || index >= int(records.size()) || records[size_t(index)].isFolder()) return -1;
    ElementRecord copy = records[size_t(index)];
    makeUniqueName(app, copy, false);
    return addElement(app, copy);
}

bool deleteRecord(App& app, int index) {
    auto& records = elementTable(app).records;
    if (index < 0 || index >= int(records.size())) return false;
    const ElementRecord record = records[size_t(index)];
    if (record.isFolder()) {
        bool holds = false;
        for (const auto& r : records) holds = holds || (r.inFolder() && r.folder == record.name);
        if (holds && ask(app, T::CaptionAttentionBang, tr(T::AskDeleteFolder), Icon::Warning, Buttons::YesNo,
                         Answer::No) != Answer::Yes)
            return false;
        for (auto& slot : systemSettings(app).defFolders)
            if (slot == record.name) slot.clear();
        deleteFolder(app, index);
        return true;
    }
    if (openInEditor(app, record)) {
        ask(app, T::CaptionError, format(T::ErrorElementInEditor, record.name), Icon::Error, Buttons::Ok, Answer::Ok);
        return false;
    }
    if (canOpen(record.file)) {
        Answer answer = ask(app, T::CaptionQuestion, format(T::AskDeleteElement, record.file), Icon::Question,
                            Buttons::YesNoCancel, Answer::No);
        if (answer == Answer::Cancel) return false;
        if (answer == Answer::Yes && !hostServices(app).moveToTrash(absolutePath(record.file))) {
            // The file stays, and so does its element: nothing is lost.
            ask(app, T::CaptionError, format(T::ErrorTrashFailed, record.file), Icon::Error, Buttons::Ok, Answer::Ok);
            return false;
        }
    }
    removeElement(app, index);
    return true;
}

bool dropRecord(App& app, int dragged, DropTarget target, int targetRecord, bool& noteShown) {
    auto& records = elementTable(app).records;
    if (dragged < 0 || dragged >= int(records.size())) return false;
    if (dragged == targetRecord) {
        // A folder dropped on itself is one dropped into itself; an element on itself stays.
        if (target == DropTarget::Folder && records[size_t(dragged)].isFolder())
            ask(app, T::CaptionError, tr(T::ErrorFolderIntoSubfolder), Icon::Error, Buttons::Ok, Answer::Ok);
        return false;
    }
    int folder = -1;
    if (target == DropTarget::Folder) folder = targetRecord;
    else if (target == DropTarget::Element && targetRecord >= 0 && targetRecord < int(records.size()) &&
             records[size_t(targetRecord)].inFolder())
        folder = folderIndex(app, records[size_t(targetRecord)].folder);

    ElementRecord& record = records[size_t(dragged)];
    if (folder < 0 || folder >= int(records.size())) {
        if (record.inFolder()) {
            record.typeAndFlags &= ~kInFolderFlag;
            record.folder.clear();
            return true;
        }
        if (!noteShown) {
            noteShown = true;
            ask(app, T::CaptionNote, tr(T::NoteAlreadyInDefaultFolder), Icon::Information, Buttons::Ok, Answer::Ok);
        }
        return false;
    }
    if (record.isFolder() && folderIsInside(app, folder, dragged)) {
        ask(app, T::CaptionError, tr(T::ErrorFolderIntoSubfolder), Icon::Error, Buttons::Ok, Answer::Ok);
        return false;
    }
    const std::string& name = records[size_t(folder)].name;
    if (record.inFolder() && record.folder == name) return false;
    record.typeAndFlags |= kInFolderFlag;
    record.folder = name;
    return true;
}

void toggleDefaultFolder(App& app, uint32_t type, const std::string& folder) {
    auto& slots = systemSettings(app).defFolders;
    if (type < 1 || type > slots.size()) return;
    std::string& slot = slots[type - 1];
    slot = slot == folder ? std::string() : folder;
}

void restoreDefaultFolder(App& app, uint32_t type) {
    auto& slots = systemSettings(app).defFolders;
    if (type >= 1 && type <= slots.size()) slots[type - 1].clear();
}

void restoreAllFolders(App& app) {
    for (auto& slot : systemSettings(app).defFolders) slot.clear();
}

bool anyDefaultFolder(const App& app) {
    for (const auto& slot : systemSettings(app).defFolders)
        if (!slot.empty()) return true;
    return false;
}

int addFolderRecord(App& app, const std::string& text, const std::string& place) {
    const std::string name = cleanElementName(text);
    if (name.empty()) {
        ask(app, T::CaptionError, tr(T::ErrorFolderNameEmpty), Icon::Error, Buttons::Ok, Answer::Ok);
        return -1;
    }
    if (folderIndex(app, name) >= 0 || rootFolderType(name) >= 0) {
        ask(app, T::CaptionError, format(T::ErrorFolderExists, folderPlaceLabel(place)), Icon::Error, Buttons::Ok,
            Answer::Ok);
        return -1;
    }
    ElementRecord record;
    record.name = name;
    record.typeAndFlags = kFolderFlag;
    if (!place.empty() && rootFolderType(place) != 0) {
        record.typeAndFlags |= kInFolderFlag;
        record.folder = place;
    }
    if (elementTable(app).count() >= kElementCapacity) {
        char text[400];
        std::snprintf(text, sizeof text, tr(T::ElementTableFull), kElementCapacity, name.c_str());
        ask(app, T::CaptionError, text, Icon::Error, Buttons::Ok, Answer::Ok);
        return -1;
    }
    if (!appendElementRecord(app, record)) return -1;
    return elementTable(app).count() - 1;
}

uint32_t elementTypeOfFile(const App& app, const std::string& path) {
    size_t cut = lastSeparator(path);
    std::string fileName = cut == std::string::npos ? path : path.substr(cut + 1);
    size_t dot = fileName.find('.');
    if (dot == std::string::npos) return 0;
    const std::string extension = fileName.substr(dot);  // with its dot, as formats store it
    static constexpr uint32_t kSectionTypes[kSectionCount] = {0, TYPE_BITMAP, TYPE_PALETTE, TYPE_MOSAIQUE, TYPE_CARTE,
                                                              TYPE_LISTE};
    for (const FormatRecord& format : formatState(app).records)
        for (int s = kSectionBitmap; s < kSectionCount; ++s) {
            const std::string& ext = format.sections[size_t(s)].ext;
            if (!ext.empty() && ext == extension) return kSectionTypes[s];
        }
    return 0;
}

int addDroppedFile(App& app, const std::string& path) {
    if (isDirectory(path) || !fileExists(path)) return -1;
    uint32_t type = elementTypeOfFile(app, path);
    if (type == 0) return -1;
    ElementRecord record;
    record.file = path;
    size_t cut = lastSeparator(path);
    record.name = cleanElementName(cut == std::string::npos ? path : path.substr(cut + 1));
    record.typeAndFlags = type;
    return addElement(app, record);
}

}  // namespace ts
