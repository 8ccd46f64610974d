#pragma once
// Access to the fields of the object-list entry being written or read. The list saver and loader
// pass one to the template writer and reader; `obj.x`, `obj.y`, `obj.type` and `obj.<parameter>`
// directives then name fields of that entry.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ts {

struct ObjectFieldValue {
    bool isInteger = true;  // integer field (x, y, type, integer parameter) or raw text
    int32_t integer = 0;
    std::string text;
};

struct ObjectFieldAccess {
    // Gives the field's value for the writer (field = the name after "obj."). False when the
    // list has no such field.
    std::function<bool(std::string_view field, ObjectFieldValue& value)> read;
    // Stores a captured value: `text` is the captured text, `integer` its value read with the
    // directive's prefix ($ hexadecimal, #N raw bytes, decimal otherwise). An integer field
    // takes `integer`, a raw field `text`. False when the list has no such field.
    std::function<bool(std::string_view field, std::string_view text, int32_t integer)> assign;
};

}  // namespace ts
