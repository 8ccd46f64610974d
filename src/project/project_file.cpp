// The project file reader: the files section into the element table, then the infos and data
// sections through the interpreter; files that are not text projects go to the legacy reader.
#include "project/project_file.h"

#include <cstring>

#include "host/file_system.h"
#include "host/message_box.h"
#include "host/text_file.h"
#include "host/host_services.h"
#include "project/project_paths.h"
#include "project/element_table.h"
#include "project/element_types.h"
#include "project/legacy_project.h"
#include "resources/texts.h"
#include "script/interpreter.h"

namespace ts {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool startsWith(const std::string& text, size_t from, const char* prefix) {
    return text.compare(from, std::strlen(prefix), prefix) == 0;
}

// Reads the next line as the readers see it: at most 2047 bytes, cut at a NUL like the C string
// it stands for, the final line feed removed; `start` is the offset after leading blanks and tabs.
bool nextLine(TextFile& file, std::string& line, size_t& start) {
    if (!file.readLine(line, kProjectLineLimit)) return false;
    size_t zero = line.find('\0');
    if (zero != std::string::npos) line.resize(zero);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    return true;
}

void lowerAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
}

// The value of an attribute line: the text after its first blank or tab.
std::string attributeValue(const std::string& line, size_t start, size_t max) {
    size_t blank = line.find_first_of(" \t", start);
    std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    if (value.size() > max) value.resize(max);
    return value;
}

// Element lines: "Elément: " (Windows-1252) or "Element: ", nine bytes either way.
bool isElementLine(const std::string& line, size_t start) {
    return startsWith(line, start, "El\xE9ment: ") || startsWith(line, start, "Element: ");
}

}  // namespace

bool findSectionIn(TextFile& file, const char* name, const char* second) {
    std::string line;
    size_t start = 0;
    while (nextLine(file, line, start)) {
        lowerAscii(line);
        if (!startsWith(line, start, ".section")) continue;
        // The name starts after ".section" and one more character.
        std::string found = line.size() > start + 9 ? line.substr(start + 9) : std::string();
        if (found == name || (second && found == second)) return true;
    }
    return false;
}

std::unique_ptr<TextFile> FindSection(const std::string& path, const char* name, const char* second) {
    auto file = TextFile::open(path, "r");
    if (!file || !findSectionIn(*file, name, second)) return nullptr;
    return file;
}

int readProjectElements(App& app, TextFile& file) {
    clearElements(app);
    int leftOut = 0;
    // The files and the folder carry over from one record to the next until a line sets them.
    std::string baseFile, dataFile, folder;
    std::string line;
    size_t start = 0;
    bool haveLine = nextLine(file, line, start);
    while (haveLine) {
        if (!isElementLine(line, start)) {
            lowerAscii(line);
            if (startsWith(line, start, "fin") || startsWith(line, start, "end") ||
                startsWith(line, start, ".section"))
                break;
            haveLine = nextLine(file, line, start);
            continue;
        }
        ElementRecord record;
        record.name = line.substr(start + 9, kElementNameMax);
        bool dropped = false;
        // Attribute lines; the first other line ends the record and is consumed with it.
        while (nextLine(file, line, start)) {
            if (startsWith(line, start, "Type: ")) {
                std::string value = attributeValue(line, start, kProjectLineLimit);
                if (value.compare(0, 7, "dossier") == 0 || value.compare(0, 6, "folder") == 0) {
                    record.typeAndFlags |= kFolderFlag;
                } else {
                    int type = elementTypeFromName(value);
                    if (type < 0) {
                        dropped = true;  // reading goes on with the next line
                        break;
                    }
                    record.typeAndFlags = (record.typeAndFlags & ~kElementTypeMask) | uint32_t(type);
                }
            } else if (startsWith(line, start, "Fichier: ") || startsWith(line, start, "File: ")) {
                dataFile = attributeValue(line, start, kElementPathMax);
            } else if (startsWith(line, start, "Base: ")) {
                baseFile = attributeValue(line, start, kElementPathMax);
            } else if (startsWith(line, start, "Dossier: ") || startsWith(line, start, "Folder: ")) {
                folder = attributeValue(line, start, kFolderNameMax);
                record.typeAndFlags |= kInFolderFlag;
            } else {
                break;
            }
        }
        if (!dropped) {
            record.baseFile = baseFile;
            record.file = dataFile;
            record.folder = folder;
            if (!appendElementRecord(app, record)) ++leftOut;
        }
        haveLine = nextLine(file, line, start);
    }
    return leftOut;
}

bool ReadProject(App& app, const std::string& path) {
    projectPaths(app).dataSection.clear();
    projectPaths(app).dataSectionRead = false;
    projectPaths(app).incompleteProject.clear();
    std::string firstLine;
    {
        auto file = TextFile::open(path, "r");
        if (!file || !file->readLine(firstLine, kProjectLineLimit)) return false;
    }

    // Anything that is not a text project of a sensible size goes through the legacy reader,
    // after a backup copy. A file far larger than any project of either kind can hold is moved
    // aside whole instead of copied (no second copy of gigabytes), and not read at all.
    const bool oversized = fileSize(path) > kProjectFileMax;
    if (firstLine != kProjectMagicLine || oversized) {
        showBox(hostServices(app), tr(T::CaptionAttention), tr(T::ProjectOlderVersion), Icon::Warning, Buttons::Ok,
                Answer::Ok, false);
        clearElements(app);
        std::string backup = path + ".bak";
        bool backedUp = oversized ? renameFile(path, backup) : copyFile(path, backup);
        if (!backedUp)
            showBox(hostServices(app), tr(T::CaptionError), formatText(tr(T::ProjectBackupFailed), backup.c_str()),
                    Icon::Error, Buttons::Ok, Answer::Ok, false);
        if (oversized || !ReadLegacyProject(app, path)) {
            showBox(hostServices(app), tr(T::CaptionError), tr(T::ProjectNoFilter), Icon::Error, Buttons::Ok, Answer::Ok,
                    false);
            return false;
        }
        return true;
    }

    {
        auto files = FindSection(path, "fichiers", "files");
        clearElements(app);
        int leftOut = files ? readProjectElements(app, *files) : 0;
        if (leftOut > 0) projectPaths(app).incompleteProject = absolutePath(path);
        if (leftOut > 0)
            showBox(hostServices(app), tr(T::CaptionWarning),
                    formatText(tr(T::ProjectTooManyElements), path.c_str(), kElementCapacity, kElementCapacity),
                    Icon::Warning, Buttons::Ok, Answer::Ok, false);
    }

    if (auto infos = FindSection(path, "infos")) runScript(app, std::move(infos), "");

    if (auto data = FindSection(path, "donn\xE9" "es", "data")) {
        long position = data->tell();
        data->readText(projectPaths(app).dataSection, size_t(kProjectFileMax));  // whole, however long
        projectPaths(app).dataSectionRead = true;
        data->seek(position);
        runScript(app, std::move(data), "");
    }
    return true;
}

}  // namespace ts
