#pragma once
// A GBA cartridge image run in the emulator library (libmgba, with its built-in BIOS), and the
// screen it shows after a number of frames.
#include <cstdint>
#include <string>
#include <vector>

namespace ts::test {

constexpr int kGbaScreenWidth = 240;   // pixels of the GBA's screen
constexpr int kGbaScreenHeight = 160;

// Whether the emulator library was built in.
bool emulatorAvailable();

// Runs the cartridge `romPath` for `frames` frames and gives the screen as 15-bit colours
// (red in bits 0-4, green 5-9, blue 10-14), row by row. False with `error` set when it cannot run.
bool runCartridge(const std::string& romPath, int frames, std::vector<uint16_t>& screen, std::string& error);

}  // namespace ts::test
