#include "startup/ui/interactive_start.h"

#include <QApplication>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <vector>

#include "app/app_state.h"
#include "host/text_encoding.h"
#include "host/ui/qt_translation.h"
#include "host/ui/window_host.h"
#include "project/project_paths.h"
#include "project/ui/main_window.h"
#include "resources/texts.h"
#include "startup/command_line.h"
#include "startup/startup.h"
#include "startup/ui/loading_window.h"
#include "startup/ui/splash_window.h"

namespace ts {

bool displayAvailable() {
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    // A local X display (":0") has its socket; without it the window library would abort.
    if (display[0] == ':') {
        std::string number(display + 1);
        number = number.substr(0, number.find('.'));
        struct stat info;
        return stat(("/tmp/.X11-unix/X" + number).c_str(), &info) == 0;
    }
    return true;
}

std::unique_ptr<MainWindow> openMainWindow(App& app, WindowHost* host, QWidget* loading,
                                           const InteractiveOptions& options) {
    auto window = std::make_unique<MainWindow>(app);
    // Owned by the main window: when the project closes before the splash's time is up, the
    // splash goes with it instead of outliving the application.
    if (options.splash) SplashWindow::showFrom(projectPaths(app).programDirectory, window.get());
    if (host) {
        host->setOwner(window.get());
        MainWindow* w = window.get();
        host->setBusyHandler([w](bool busy) { w->setBusy(busy); });
    }
    if (options.show) window->show();
    if (loading) loading->close();
    if (!window->start()) {
        if (host) {
            host->setOwner(nullptr);
            host->setBusyHandler(nullptr);
        }
        return nullptr;
    }
    return window;
}

}  // namespace ts

extern "C" __attribute__((visibility("default"))) int tsRunInteractive(int argc, char** argv,
                                                                        const char* programDirectory) {
    using namespace ts;
    if (!displayAvailable()) {
        std::fputs(toUtf8(tr(T::StartupNoDisplay)).c_str(), stderr);
        return 3;
    }
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(fromUtf8(argv[i]));

    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setApplicationName("Tilesmithery");
    QApplication::setQuitOnLastWindowClosed(true);
    installQtTranslation(application);

    LoadingWindow loading;
    loading.show();
    application.processEvents();

    WindowHost host;
    App app(host);
    std::string rest;
    // The window holds the project's lock while the project is open, as a batch run does for
    // its run; Open, New and Save As move it.
    auto lock = std::make_unique<FileLock>();
    if (prepareStartup(app, joinArguments(args), programDirectory ? programDirectory : "", rest, lock.get()) ==
        StartMode::Refused)
        return 1;
    if (lock->held()) {
        projectPaths(app).lock = std::move(lock);
        projectPaths(app).lockedPath = projectPaths(app).projectPath;
    }
    std::unique_ptr<MainWindow> window = openMainWindow(app, &host, &loading);
    if (!window) return 0;
    const int status = application.exec();
    host.setOwner(nullptr);
    host.setBusyHandler(nullptr);
    window.reset();
    return status;
}
