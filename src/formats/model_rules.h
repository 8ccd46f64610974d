#pragma once
// The parameter models page without its widgets: a working copy of the model table that the page
// edits, with the refusals and questions of its buttons; OK stores the copy.
#include <string>
#include <vector>

#include "formats/model_table.h"

namespace ts {

struct App;

struct ModelsPageState {
    std::vector<Model> models;  // working copy, table order
    int current = 0;            // the current model (the one lists use)
    int shown = 0;              // the model the page shows
    bool changed = false;       // edits not yet stored
};

ModelsPageState loadModelsPage(const App& app);
// "Add" / "Update": a parameter of that name is updated, otherwise added. The size is read as a
// decimal number: below 1 nothing happens; 1 to 3 is refused. Kind 0 Integer, 1 Raw.
bool addOrUpdateParam(App& app, ModelsPageState& state, const std::string& name, int kind,
                      const std::string& sizeText, const std::string& defaultText);
bool deleteParam(ModelsPageState& state, int param);
// A new model with that name (refused when empty, taken or the table is full); it is shown.
bool addModel(App& app, ModelsPageState& state, const std::string& name);
// Deletes the shown model after the questions; the last one cannot go.
bool deleteShownModel(App& app, ModelsPageState& state);
// OK: stores the copy into the model table.
void applyModelsPage(App& app, const ModelsPageState& state);
// Closing with unapplied edits: asks whether to apply them (Yes applies). True when applied.
bool confirmModelsClose(App& app, const ModelsPageState& state);

}  // namespace ts
