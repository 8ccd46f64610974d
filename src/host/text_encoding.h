#pragma once
// The core keeps text as the Windows-1252 bytes that files hold. These convert at the edges.
#include <string>

namespace ts {

std::string toUtf8(const std::string& cp1252);
// Characters with no Windows-1252 form become '?'. Invalid UTF-8 bytes are taken as Windows-1252.
std::string fromUtf8(const std::string& utf8);
// The same; `lossless` tells whether every character had a Windows-1252 form (the others became "?").
std::string fromUtf8(const std::string& utf8, bool* lossless);

}  // namespace ts
