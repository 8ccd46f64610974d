#pragma once
// Script commands of the platforms and object lists: platform / plateforme, definemodel /
// defmodele, setmodel / selmodele, list.resetparams / liste.reinitparams, list.addparam /
// liste.ajparam, system.maxobjects, and the model selection they share.
#include <string>

namespace ts {

struct App;

// A quoted platform name, selected now; an unknown name is a script error.
void cmdPlatform(App& app, char* args);
// A quoted name, or a name followed by "{" on the same line; reads the block from the current
// script file (nothing happens in a text run).
void cmdDefineModel(App& app, char* args);
// A quoted model name, selected now.
void cmdSetModel(App& app, char* args);
void cmdListResetParams(App& app, char* args);
// A quoted name, then the kind and the size (after commas or blanks).
void cmdListAddParam(App& app, char* args);
// system.maxobjects: values below 3 become 3.
void cmdMaxObjects(App& app, char* args);

// Makes the first model of exactly that name current; otherwise "Model %s not found" (caption
// "Error in ChoisitModele") and false.
bool ChoisitModele(App& app, const std::string& name);

}  // namespace ts
