#pragma once
// Rows of the script language's identifier table.
#include <cstdint>
#include <string_view>
#include <vector>

namespace ts {

struct App;

enum class IdentifierKind : uint32_t {
    TreeItemControl = 0,
    TextControl = 1,
    CheckControl = 2,
    RadioControl = 3,
    ComboControl = 4,
    Command = 5,
    IntVariable = 6,
    StringVariable = 7,
    DoubleVariable = 8,
    ScriptObject = 9,
    ScriptArray = 10,
};

// A command receives the argument text of the statement in a writable, NUL-terminated buffer
// (quoted-argument readers terminate texts in place).
using CommandHandler = void (*)(App& app, char* args);

struct ScriptIdentifier;

struct ScriptObjectDef {
    std::vector<ScriptIdentifier> members;
};

struct ScriptArrayDef {
    int count = 0;
    IdentifierKind elementKind = IdentifierKind::IntVariable;  // 6, 7 or 8
    // Address of element i (0 <= i < count): int32_t*, std::string* (511 characters at most) or double*.
    void* (*element)(App& app, int index) = nullptr;
};

// Creation-form controls that script rows can fill (their handles are 0 while no form shows them).
enum class FormControl : int {
    None = 0,
    TreeTilesets, TreeMaps, TreeBitmaps,
    Text01, Text02, Text03, Text04, Text05,
    CheckPalette, CheckTileset, CheckMap, CheckOptimize, Check16,
    RadioText, RadioRotation,
    ComboPalette, ComboTileset, ComboSize, ComboTiles, ComboMap,
};

struct ScriptIdentifier {
    std::string_view name;  // lower case, Windows-1252, matched byte for byte
    IdentifierKind kind = IdentifierKind::Command;
    // IntVariable: int32_t*, StringVariable: std::string* (511 characters at most), DoubleVariable: double*.
    void* (*variable)(App& app) = nullptr;
    CommandHandler command = nullptr;
    const ScriptObjectDef* object = nullptr;
    const ScriptArrayDef* array = nullptr;
    FormControl control = FormControl::None;
};

}  // namespace ts
