#pragma once
// Interactive mode: the loading window, the splash, the main window and the message loop.
#include <memory>
#include <string>

class QWidget;

namespace ts {

struct App;
class MainWindow;
class WindowHost;

struct InteractiveOptions {
    bool splash = true;   // show the splash picture of the program's folder
    bool show = true;     // show the main window (benchmarks build it without showing it)
};

// After the project is read: creates the main window (its boxes owned by it through the host
// when one is given), shows it, closes the loading window, and runs the window's start
// ("onstart" and the Procedures menu). Null when "onstart" closed the window at once.
std::unique_ptr<MainWindow> openMainWindow(App& app, WindowHost* host, QWidget* loading,
                                           const InteractiveOptions& options = {});

// True when a display is there for windows (or the Qt platform is chosen explicitly).
bool displayAvailable();

}  // namespace ts

// The entry the program calls through dlopen in interactive mode.
extern "C" int tsRunInteractive(int argc, char** argv, const char* programDirectory);
