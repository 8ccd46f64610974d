#pragma once
// Host services of the window front end: message boxes owned by the main window, programs and
// files through the desktop, the trash, the clipboard and the "Please wait..." status.
#include <functional>

#include "host/host_services.h"

class QWidget;

namespace ts {

class WindowHost : public HostServices {
public:
    Answer messageBox(const MessageBoxRequest& request) override;
    bool startProgram(const std::string& commandLine) override;
    bool openFile(const std::string& path) override;
    bool moveToTrash(const std::string& path) override;
    void setMainWindowVisible(bool visible) override;
    void setBusy(bool busy) override;
    // Long conversion steps: their text and a bar in the owner's status strip.
    void progress(const std::string& what, double fraction) override;
    void progressPalettes(const std::vector<std::vector<uint32_t>>& rows) override;
    void progressBlock(const ProgressBlock& block) override;
    bool showsProgress() const override { return owner_ != nullptr; }
    bool copyImageToClipboard(int width, int height, const std::vector<uint32_t>& pixels) override;
    bool copyTextToClipboard(const std::string& text) override;

    // The window that owns the boxes (none: boxes without owner).
    void setOwner(QWidget* owner) { owner_ = owner; }
    QWidget* owner() const { return owner_; }
    // Told when the first long operation begins (true) and when the last one ends (false).
    void setBusyHandler(std::function<void(bool)> handler) { busyHandler_ = std::move(handler); }

private:
    QWidget* owner_ = nullptr;
    std::function<void(bool)> busyHandler_;
    int busyDepth_ = 0;
};

}  // namespace ts
