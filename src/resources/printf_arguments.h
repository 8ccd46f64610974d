#pragma once
// The arguments a printf-style text takes, as the kinds printf reads them: a French text must
// take the same ones as its English twin.
#include <string>
#include <vector>

namespace ts {

struct PrintfArguments {
    // One entry per argument, in argument order: "d" (int), "u" (unsigned), "f" (double), "c",
    // "s", "p", "n", with the length modifier before it ("lld", "lu", "Lf").
    std::vector<std::string> kinds;
    // False for a text that printf could not be trusted with: positional and plain conversions
    // mixed, a positional argument left out, one argument read as two kinds, a lone final "%".
    bool valid = true;
    // "(d s)", for messages.
    std::string summary() const;
};

// Reads the conversions of a text. "%%" is a percent sign; a "%" followed by a blank or by a
// character that cannot start a conversion is plain text (the message texts that are never
// formatted hold such percent signs: "100%; instead...").
PrintfArguments printfArguments(const char* text);

}  // namespace ts
