#include "project/element_table.h"

#include <algorithm>
#include <set>

#include "host/file_system.h"
#include "host/message_box.h"
#include "host/host_services.h"
#include "project/element_record.h"
#include "script/settings.h"
#include "resources/texts.h"
#include "script/reference_file.h"

namespace ts {
namespace {

// Records compete for a name only with records of the same kind: same type code, and folders
// only with folders.
bool sameKind(const ElementRecord& a, const ElementRecord& b) {
    return a.type() == b.type() && a.isFolder() == b.isFolder();
}

bool nameIsFree(const App& app, const ElementRecord& record, const std::string& candidate, bool sameFileIsFree) {
    for (const ElementRecord& r : elementTable(app).records) {
        if (!sameKind(r, record) || r.name != candidate) continue;
        if (sameFileIsFree && r.file == record.file) continue;
        return false;
    }
    return true;
}

enum class ScanResult { Free, Identical, NameTaken };

// Looks for records of the record's name and kind; `identical` gets the index of one that has the
// same data file (and the same folder when the record is in a folder).
ScanResult scanForName(const App& app, const ElementRecord& record, int& identical) {
    ScanResult result = ScanResult::Free;
    const auto& records = elementTable(app).records;
    for (int i = 0; i < int(records.size()); ++i) {
        const ElementRecord& r = records[size_t(i)];
        if (!sameKind(r, record) || r.name != record.name) continue;
        if (r.file == record.file && (!record.inFolder() || r.folder == record.folder)) {
            identical = i;
            return ScanResult::Identical;
        }
        result = ScanResult::NameTaken;
    }
    return result;
}

// Appends at the end of the table, in the type's default folder when the record is in none.
int appendWithDefaultFolder(App& app, ElementRecord record) {
    if (!record.inFolder() && !record.isFolder()) {
        const std::string& folder = defaultFolderOf(app, record.type());
        if (!folder.empty()) {
            record.typeAndFlags |= kInFolderFlag;
            record.folder = folder.substr(0, kFolderNameMax);
        }
    }
    if (!appendElementRecord(app, record)) {
        showBox(hostServices(app), tr(T::CaptionError),
                formatText(tr(T::ElementTableFull), kElementCapacity, record.name.c_str()), Icon::Error);
        return kElementNotFound;
    }
    return elementTable(app).count() - 1;
}

}  // namespace

int TrouveElement(const App& app, uint32_t type, const std::string& name) {
    const auto& records = elementTable(app).records;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].type() == type && records[i].name == name) return int(i);
    return kElementNotFound;
}

const std::string& defaultFolderOf(const App& app, uint32_t type) {
    // deffolder[t] of the scripts is the slot of type code t, counted from 1.
    static const std::string none;
    if (type < 1 || type > systemSettings(app).defFolders.size()) return none;
    return systemSettings(app).defFolders[type - 1];
}

bool appendElementRecord(App& app, const ElementRecord& record) {
    if (elementTable(app).count() >= kElementCapacity) return false;
    elementTable(app).records.push_back(record);
    if (elementTable(app).observer.added) elementTable(app).observer.added(app, elementTable(app).count() - 1);
    return true;
}

int addElement(App& app, ElementRecord record) {
    if (!fileExists(record.file)) return kElementNotFound;
    if (record.name.size() > kElementNameMax) record.name.resize(kElementNameMax);
    for (int pass = 0; pass < 2; ++pass) {
        int identical = kElementNotFound;
        ScanResult scan = scanForName(app, record, identical);
        if (scan == ScanResult::Identical) {
            // The element moves to the end of the table, as it is stored.
            ElementRecord stored = elementTable(app).records[size_t(identical)];
            removeElement(app, identical);
            return appendWithDefaultFolder(app, std::move(stored));
        }
        if (scan == ScanResult::Free || pass == 1) break;
        makeUniqueName(app, record, true);
    }
    return appendWithDefaultFolder(app, std::move(record));
}

void removeElement(App& app, int index) {
    auto& records = elementTable(app).records;
    if (index < 0 || index >= int(records.size())) return;
    if (elementTable(app).observer.removing) elementTable(app).observer.removing(app, index);
    records.erase(records.begin() + index);
}

void clearElements(App& app) {
    for (int i = elementTable(app).count() - 1; i >= 0; --i) removeElement(app, i);
}

void makeUniqueName(const App& app, ElementRecord& record, bool sameFileIsFree) {
    std::string name = record.name.substr(0, kElementNameMax);
    size_t digitsStart = name.size();
    while (digitsStart > 0 && name.size() - digitsStart < 8 &&
           name[digitsStart - 1] >= '0' && name[digitsStart - 1] <= '9')
        --digitsStart;
    std::string base = name.substr(0, digitsStart);
    std::string digits = name.substr(digitsStart);
    long number = digits.empty() ? 0 : std::stol(digits);
    if (number == 0) number = 2;

    std::string candidate = name;
    // Each number gives a different candidate, so this ends after at most count + 2 rounds.
    while (!nameIsFree(app, record, candidate, sameFileIsFree)) {
        std::string numberText = std::to_string(number);
        std::string cutBase = base;
        if (base.size() + numberText.size() >= kElementNameMax)
            cutBase = base.substr(0, kElementNameMax - 1 - std::min(numberText.size(), kElementNameMax - 1));
        candidate = cutBase + numberText;
        ++number;
    }
    record.name = candidate;
}

void deleteFolder(App& app, int index) {
    auto& records = elementTable(app).records;
    if (index < 0 || index >= int(records.size()) || !records[size_t(index)].isFolder()) return;

    // The folders to delete: this one and, by name, every folder that lies in one of them.
    std::vector<bool> doomed(records.size(), false);
    std::set<std::string> names{records[size_t(index)].name};
    doomed[size_t(index)] = true;
    for (bool grew = true; grew;) {
        grew = false;
        for (size_t i = 0; i < records.size(); ++i) {
            const ElementRecord& r = records[i];
            if (doomed[i] || !r.isFolder() || !r.inFolder() || !names.count(r.folder)) continue;
            doomed[i] = true;
            names.insert(r.name);
            grew = true;
        }
    }
    // Elements in any of them fall back to their type's branch.
    for (size_t i = 0; i < records.size(); ++i) {
        ElementRecord& r = records[i];
        if (!doomed[i] && !r.isFolder() && r.inFolder() && names.count(r.folder)) {
            r.typeAndFlags &= ~kInFolderFlag;
            r.folder.clear();
        }
    }
    for (int i = int(records.size()) - 1; i >= 0; --i)
        if (doomed[size_t(i)]) removeElement(app, i);
}

void cleanProject(App& app) {
    // From the end, so that the indices of the records not yet visited stay valid.
    for (int i = elementTable(app).count() - 1; i >= 0; --i) {
        const ElementRecord& r = elementTable(app).records[size_t(i)];
        if (!r.isFolder() && !fileExists(r.file)) removeElement(app, i);
    }
    cleanReferenceFile(app);
}

int countElementsOfType(const App& app, uint32_t type) {
    int n = 0;
    for (const ElementRecord& r : elementTable(app).records)
        if (!r.isFolder() && r.type() == type) ++n;
    return n;
}

int nthElementOfType(const App& app, uint32_t type, int n) {
    if (n < 1) return kElementNotFound;
    const auto& records = elementTable(app).records;
    for (size_t i = 0; i < records.size(); ++i)
        if (!records[i].isFolder() && records[i].type() == type && --n == 0) return int(i);
    return kElementNotFound;
}

}  // namespace ts
