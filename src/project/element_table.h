#pragma once
// Operations on the project's element table (elementTable(app)): adding with unique names and default
// folders, removing, folders, lookups by type and cleaning.
#include <cstdint>
#include <string>

#include "project/element_record.h"

namespace ts {

struct App;

constexpr int kElementNotFound = -1;

// Index of the first record whose type (low 14 bits) is `type` and whose name equals `name`
// byte for byte, or kElementNotFound.
int TrouveElement(const App& app, uint32_t type, const std::string& name);

// Adds a record: nothing happens when its data file does not exist; an identical record (same
// type, name, data file and, for a record in a folder, folder) moves to the end instead; otherwise
// the name is made unique and the record is appended, in its type's default folder when it is in
// no folder. A full table refuses the addition with an error box. Returns the index of the record
// in the table, or kElementNotFound when nothing was added.
int addElement(App& app, ElementRecord record);

// Appends a record as it stands (the project file reader's path): no file check, no renaming, no
// default folder. False, with nothing appended, when the table is full.
bool appendElementRecord(App& app, const ElementRecord& record);

// Removes the record at index (its tree node first); later records move down one place.
void removeElement(App& app, int index);
// Empties the table, last record first.
void clearElements(App& app);

// Gives the record the first free name: the name itself, else the name with its trailing number
// (at most 8 digits, 2 when there is none) counted up, the base cut so that a renumbered name
// has at most 29 characters. With sameFileIsFree, a name held only by records of the same data
// file counts as free.
void makeUniqueName(const App& app, ElementRecord& record, bool sameFileIsFree);

// Deletes the folder record at index: elements in it fall back to their type's branch, folders in
// it are deleted the same way.
void deleteFolder(App& app, int index);

// Removes every element whose data file is missing (last record first), then the reference
// file's sections of missing files.
void cleanProject(App& app);

// The default folder of an element type (the `deffolder` slot of that type code), "" when none.
const std::string& defaultFolderOf(const App& app, uint32_t type);

// Number of elements of a type (folders do not count), and the index of the n-th of them in table
// order (n from 1), or kElementNotFound.
int countElementsOfType(const App& app, uint32_t type);
int nthElementOfType(const App& app, uint32_t type, int n);

}  // namespace ts
