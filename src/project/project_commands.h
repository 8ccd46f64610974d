#pragma once
// Script commands of the project subsystem.

namespace ts {

struct App;

// clean-project / nettoie-projet: removes the elements whose data files are missing, then the
// reference file's sections of missing files. Takes no argument.
void cmdCleanProject(App& app, char* args);

}  // namespace ts
