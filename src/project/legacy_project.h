#pragma once
// The older binary project format: the magic "Tilesmithery 02", a little-endian record count and
// records of 560 bytes (base file, data file, name, type code minus one).
#include <cstddef>
#include <string>

namespace ts {

struct App;

constexpr size_t kLegacyHeaderSize = 19;
constexpr size_t kLegacyRecordSize = 560;

// Adds the file's records through the add-element operation (missing data files are left out,
// names made unique). Reads no more records than the file holds and than the element table takes.
// False when the file cannot be opened, its magic does not match or its count is missing.
bool ReadLegacyProject(App& app, const std::string& path);

}  // namespace ts
