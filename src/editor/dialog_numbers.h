#pragma once
// Numbers typed into the editor's dialog fields. A field is empty (the old value stays), holds a
// number, or holds something else, which the dialog refuses before anything is applied.
#include <cstdint>
#include <string>

namespace ts {

enum class FieldRead { Empty, Number, Refused };

// An integer: optional sign, then decimal digits, "0x" and hex digits or "0b" and binary digits,
// blanks around it allowed. Values beyond 64 bits are refused; the caller bounds the rest.
FieldRead readIntegerField(const std::string& text, int64_t& value);

// A decimal number with an optional fraction and an optional trailing "%" (speeds in percent).
FieldRead readDecimalField(const std::string& text, double& value);

// A list of plane numbers as the links dialog takes it: digits separated by commas and blanks.
bool planeNumberList(const std::string& text);

}  // namespace ts
