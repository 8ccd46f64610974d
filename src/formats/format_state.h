#pragma once
// The format table, the current format, the template variables and the user buffers.
//
// A format is a named set of templates: one section per data kind (bitmap, palette, tileset,
// map, list) with ten fields each, a few global texts and eight user texts. Every writer and
// reader works on `current`, a copy of one record of `records`; selecting a format copies it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ts {

// Section indices of a format. Section 0 ("empty" / "vide") is only filled and ignored.
enum FormatSectionIndex : int {
    kSectionEmpty = 0,
    kSectionBitmap = 1,
    kSectionPalette = 2,
    kSectionTileset = 3,
    kSectionMap = 4,
    kSectionList = 5,
    kSectionCount = 6,
};

// Field indices of a section, in definition order.
enum FormatFieldIndex : int {
    kFieldDeclaration = 0,
    kFieldNEvery = 1,
    kFieldEveryX = 2,
    kFieldElement = 3,
    kFieldElement2 = 4,
    kFieldElement3 = 5,
    kFieldLine = 6,
    kFieldEnd = 7,
    kFieldExt = 8,
    kFieldRefInfo = 9,
    kSectionFieldCount = 10,
};

constexpr int kUserTextCount = 8;
constexpr size_t kUserTextMax = 511;        // characters a user buffer keeps
constexpr size_t kFormatNameMax = 99;       // characters of a format name
constexpr size_t kCaptureMax = 1000;        // characters of one captured text (reader)
constexpr size_t kDirectiveMax = 999;       // characters of one directive between two '%'

struct FormatSection {
    std::string declaration;  // header, written once before the data
    int32_t nEvery = 0;       // every how many elements everyX is written (0 = never)
    std::string everyX;       // written between elements at each nEvery boundary
    std::string element;      // number formats (which data uses which: see the savers)
    std::string element2;
    std::string element3;
    std::string line;         // after each row (bitmap, map) or each 8x8 block (tileset)
    std::string end;          // once after the data
    std::string ext;          // file extension with its leading dot (".map.c")
    std::string refInfo;      // the element's record in the reference index file

    // The text field of index 0..9 (none for kFieldNEvery or another index).
    std::string* textField(int field);
    const std::string* textField(int field) const;
};

struct FormatRecord {
    std::string name;  // at most 99 characters, compared byte for byte
    std::array<FormatSection, kSectionCount> sections;
    std::string type8, type16, type32, bits4, bits8, typesd;  // global texts
    std::array<std::string, kUserTextCount> user;             // user[1]..user[8] at 0..7
};

// Kinds of template variable rows.
enum class TemplateVariableKind { Text, Integer, ExternalInteger };

// One row of the template variable table.
struct TemplateVariable {
    std::string name;
    TemplateVariableKind kind = TemplateVariableKind::Integer;
    int32_t integer = 0;          // Integer rows
    int32_t* external = nullptr;  // ExternalInteger rows: the live integer of another subsystem
    std::string text;             // Text rows
    // Text rows: true once a value was set (the writer writes it) or a destination was given
    // (the reader assigns to it). A text row that is not set is "unknown" to the writer and
    // ignored by the reader.
    bool textSet = false;

    int32_t value() const { return kind == TemplateVariableKind::ExternalInteger ? (external ? *external : 0) : integer; }
};

// The live integers that the externally held template variables refer to by default:
// the map size, the tile size of the current conversion, the map's graphics mask and tile base.
// bindTemplateInteger (template_variables.h) can point a row at another integer instead.
struct TemplateSharedIntegers {
    int32_t sizeX = 0;
    int32_t sizeY = 0;
    int32_t tileX = 8;
    int32_t tileY = 8;
    int32_t gfxMask = -1;
    int32_t tileBase = 0;
};

struct FormatState {
    std::vector<FormatRecord> records;  // definition order; records[0] is "Standard"
    FormatRecord current;               // CurrentFormat: the working copy
    int currentIndex = 0;               // which record `current` came from
    std::string currentName = "Standard";  // name of the selected format (project file line)
    bool selectedSinceStartUp = false;      // a format was selected after the start-up step

    std::vector<TemplateVariable> variables;         // the sixteen rows, in table order
    std::vector<TemplateVariable> startupVariables;  // copy taken at start-up
    TemplateSharedIntegers shared;

    // User buffers: the current format's user texts, copied before every save and load.
    std::array<std::string, kUserTextCount> userBuffers;

    // Reader switch set by "%+noerror%" and cleared by "%+endnoerror%"; kept across calls.
    bool noError = false;
};

struct App;
// The FormatState of the running program (held by the process state).
FormatState& formatState(App& app);
const FormatState& formatState(const App& app);

}  // namespace ts
