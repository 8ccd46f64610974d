#pragma once
// Object lists: entries of x, y, type and the parameters of a model, stored as fixed-size
// records (x at 0, y at 4, type at 8, then each parameter in model order).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/format_state.h"
#include "formats/model_table.h"
#include "formats/template_object_fields.h"

namespace ts {

struct App;

struct ObjectList {
    Model model;                 // the model the list was made or read with (a copy)
    int entrySize = kListEntryHeader;
    std::vector<uint8_t> entries;  // count * entrySize bytes
    int count = 0;
    std::string typeName;        // what %type% takes (the format's typesd when empty)
    std::array<std::string, kUserTextCount> userTexts;
    bool hasUserTexts = false;   // when set, the saver copies userTexts over the user buffers
    std::string link;            // data file of the tileset the list belongs to
};

// Makes an empty list for a model.
void resetObjectList(ObjectList& list, const Model& model);

// Maximum number of entries per list (system.maxobjects, never below 3).
int maxListEntries(const App& app);

// Appends an entry with x, y, type and every parameter's default. When the list is full the
// "Too many elements" box appears and false is returned.
bool addListEntry(App& app, ObjectList& list, int32_t x, int32_t y, int32_t type);

// Field access to entry i.
int32_t entryX(const ObjectList& list, int i);
int32_t entryY(const ObjectList& list, int i);
int32_t entryType(const ObjectList& list, int i);
void setEntryPosition(ObjectList& list, int i, int32_t x, int32_t y);
void setEntryType(ObjectList& list, int i, int32_t type);
// Byte offset of a parameter inside an entry (12 + the sizes before it); -1 when unknown.
int paramOffset(const Model& model, int paramIndex);
// Index of the parameter named `name` (a name with a part in angle brackets also answers to
// the part before "<"), or -1.
int findParam(const Model& model, std::string_view name);
int32_t entryIntParam(const ObjectList& list, int i, int paramIndex);
std::string entryRawParam(const ObjectList& list, int i, int paramIndex);
void setEntryIntParam(ObjectList& list, int i, int paramIndex, int32_t value);
// The text is cut to fit its field with a terminator.
void setEntryRawParam(ObjectList& list, int i, int paramIndex, std::string_view text);
// Every field of entry i takes the model's default (x, y, type become 0).
void setEntryDefaults(ObjectList& list, int i);

// The list section's element text with the "#+param:"A":"B"#" placeholder expanded for the
// model (only under the built-in format; other formats keep the text). At most 1000 characters.
std::string expandParamPlaceholder(const App& app, const std::string& elementText, const Model& model);

// Writes entry i with the working text: "#name#" writes a field (type, x, y, a parameter),
// other characters stand as they are.
void writeEntryText(const ObjectList& list, int i, const std::string& workingText, std::string& out);

// Reads entry i with the working text from `position`. Strict mode reports a mismatch in the
// "Debuging" box and sets `damaged`; tolerant mode stops quietly at `terminator`. Gives the
// position after what was read (strict: length + 1 once damaged).
size_t readEntryText(App& app, ObjectList& list, int i, const std::string& workingText, const char* data,
                     size_t length, size_t position, bool tolerant, const std::string& terminator, bool& damaged);

// Access for `%obj.<field>%` of the template writer and reader to entry i.
ObjectFieldAccess entryFieldAccess(ObjectList& list, int i);

}  // namespace ts
