#pragma once
// The value syntax that every command and dialog uses to read its arguments.
#include <cstddef>
#include <cstdint>
#include <string>

namespace ts {

// Integer value of an argument: decimal digits, "0x" hexadecimal, "0b" binary, true/vrai (1),
// false/faux (0), rgb(r, g, b) = r + 256 g + 65536 b. Anything else (a minus sign too) gives 0.
int32_t parseValue(const char* text);

// Moves past one argument: to the first ",", blank or ")" outside parentheses, over it, then
// over blanks and tabs.
const char* nextArgument(const char* cursor);
inline char* nextArgument(char* cursor) { return const_cast<char*>(nextArgument(static_cast<const char*>(cursor))); }

// Takes a quoted argument ("...", '...' or *...*) in place: the closing quote is overwritten with a
// terminator and the cursor moves past it. None when there is no opening or closing quote.
char* readQuotedString(char*& cursor);

// The text of a quoted argument as it stands (no escapes), after leading blanks, cut at `max`
// characters; the cursor moves past the closing quote. False when the argument is not quoted.
bool quotedArgument(char*& cursor, std::string& out, size_t max = 511);

// Copies a quoted argument with escapes into dest, at most size - 1 bytes: \n gives CR LF, \b a
// backspace, a backslash before any other character gives that character. Returns the position
// after the closing quote. When src does not begin with a quote, dest is unchanged and src returned.
const char* readEscapedString(std::string& dest, const char* src, size_t size);

// The inverse, for writers of script text: quote, text with backslashes doubled, line feeds as
// \n and the quote as \", closing quote; the text stops two bytes before size.
std::string quoteString(const std::string& src, char quote, size_t size);

// Settings script of a data file: level.map.c and level.map give level.map.spt; level.c gives
// level.c.spt.
std::string settingsPath(const std::string& dataFile);

// system.maxmemory sizes: "32 MB" gives 32 * 1048576 + 1024. Results of 2^32 or more give 0.
uint32_t parseSize(const char* text);
// The writer's form: 33554432 gives "32 MB", 1536 gives "1.5 kB".
std::string formatSize(uint32_t size);

// A decimal floating-point number at the start of text (blanks skipped); 0.0 when none.
double parseDouble(const char* text, const char** end = nullptr);

}  // namespace ts
