#pragma once
// The `conv` script command: one whole conversion from its argument text.
namespace ts {

struct App;

// `conv` handler: reads the arguments, loads the source image, runs the tileset or bitmap
// pipeline and adds the produced elements to the project. args is the writable argument text.
void cmdConv(App& app, char* args);

// The same for a const text (the batch conversion mode hands each piece of the command line).
void runConversion(App& app, const char* args);

}  // namespace ts
