#pragma once
// The project's entries: tilesets, maps, lists, palettes, bitmaps and the folders that group them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ts {

struct App;

enum ElementType : uint32_t {
    TYPE_AUCUN = 0,
    TYPE_CARTE = 1,
    TYPE_SPRITE = 2,
    TYPE_MOSAIQUE = 3,
    TYPE_BITMAP = 4,
    TYPE_MAUVAIS = 5,
    TYPE_PALETTE = 6,
    TYPE_LISTE = 7,
};

constexpr uint32_t kElementTypeMask = 0x3FFF;
constexpr uint32_t kFolderFlag = 0x4000;
constexpr uint32_t kInFolderFlag = 0x8000;
constexpr int kElementCapacity = 1000;
constexpr size_t kElementNameMax = 30;
constexpr size_t kElementPathMax = 259;
constexpr size_t kFolderNameMax = 32;

struct ElementRecord {
    std::string baseFile;      // source image
    std::string file;          // data file
    std::string name;          // at most 30 characters
    std::string folder;        // valid when kInFolderFlag is set
    uint32_t typeAndFlags = 0;

    uint32_t type() const { return typeAndFlags & kElementTypeMask; }
    bool isFolder() const { return typeAndFlags & kFolderFlag; }
    bool inFolder() const { return typeAndFlags & kInFolderFlag; }
};

// Lets the main window keep its tree in step with the table. `added` runs after a record was
// appended (with its index); `removing` runs just before the record at that index is taken out.
struct ElementObserver {
    std::function<void(App&, int index)> added;
    std::function<void(App&, int index)> removing;
};

struct ElementTable {
    std::vector<ElementRecord> records;  // at most kElementCapacity, in insertion order
    ElementObserver observer;
    int count() const { return int(records.size()); }
};

// The ElementTable of the running program (held by the process state).
ElementTable& elementTable(App& app);
const ElementTable& elementTable(const App& app);

}  // namespace ts
