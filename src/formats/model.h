#pragma once
// The parameter model table: definition, lookup and parameter changes.
#include <string>

#include "formats/model_table.h"

namespace ts {

struct App;
class TextFile;

// Start-up: one model "Default" without parameters, current.
void initializeModels(App& app);

// Index of the first model with exactly that name, or -1.
int findModel(const App& app, const std::string& name);
// The current model (the first one when the index is out of range; the table is never empty
// after start-up).
Model& currentModel(App& app);
const Model& currentModel(const App& app);

// 12 + the sum of the parameter sizes.
void recomputeEntrySize(Model& model);

// Adds a parameter or replaces the one of the same name (name cut to 31 characters). An empty
// name is ignored, a size of 0 (or less) becomes 4, nothing is added past 100 parameters.
// False when nothing changed.
bool addModelParam(Model& model, const std::string& name, int kind, int size, const std::string& defaultText);

// Reads a model block from the open script file (the lines after the definemodel line, up to a
// line whose first non-blank character is "}"), redefining the model of that name or appending
// a new one. False when the table is full (and the block is skipped).
bool defineModelFromFile(App& app, TextFile& file, const std::string& name);

}  // namespace ts
