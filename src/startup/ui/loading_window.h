#pragma once
// The small window shown while the project loads, until the main window is ready.
#include <QWidget>

namespace ts {

class LoadingWindow : public QWidget {
public:
    LoadingWindow();
};

}  // namespace ts
