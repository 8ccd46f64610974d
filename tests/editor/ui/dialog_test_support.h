#pragma once
// The editor dialogs' tests: an editor document of hand-made planes (no window), a recording
// host, modal dialogs driven from a timer, screenshots into the build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/app_state.h"
#include "editor/editor_document.h"
#include "editor/editor_session.h"
#include "editor/ui/editor_dialogs.h"
#include "editor/editor_test_support.h"
#include "test_support.h"

namespace ts::test {

// Runs `step` on the modal dialog once it shows.
inline void whenDialog(std::function<void(QDialog*)> step) {
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog";
            return;
        }
        step(dialog);
    });
}

inline void saveShot(QWidget& widget, const char* name) {
    QDir().mkpath(QString(TS_BINARY_DIR) + "/screenshots");
    widget.grab().save(QString(TS_BINARY_DIR) + "/screenshots/" + name + ".png");
}

template <class W>
W* child(QWidget* parent, const char* name) {
    W* w = parent->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

inline void setText(QWidget* parent, const char* name, const QString& text) {
    if (auto* edit = child<QLineEdit>(parent, name)) edit->setText(text);
}

inline void clickOk(QDialog* dialog, const std::string& prefix) {
    if (auto* ok = child<QPushButton>(dialog, (prefix + "-ok").c_str())) ok->click();
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.memoryAvailable = uint64_t(1) << 32;
        EditorDocument& d = doc();
        prepareHandMadeDocument(d);
        d.open = true;
    }
    EditorDocument& doc() { return editorDocument(app); }
    PlaneRecord& plane(int slot) { return doc().planes[size_t(slot)]; }
    PlaneRecord& addPlane(int w, int h, int tiles = 64) {
        EditorDocument& d = doc();
        const int slot = d.count;
        PlaneRecord& p = d.planes[size_t(slot)];
        makeMapPlane(p, w, h, tiles);
        p.element.name = "plane" + std::to_string(slot + 1);
        for (size_t i = 0; i < p.cells.size(); ++i) p.cells[i] = uint32_t(i % size_t(tiles));
        d.count++;
        pushSnapshot(app, slot);
        return p;
    }
    void link(std::initializer_list<int> planes) {
        LinkList list;
        int n = 0;
        for (int s : planes) list.members[size_t(n++)] = uint8_t(s);
        for (int s : planes) doc().links[size_t(s)] = list;
    }
    uint32_t cell(int slot, int x, int y) {
        const PlaneRecord& p = plane(slot);
        return p.cells[size_t(y) * size_t(p.width) + size_t(x)];
    }
    // The boxes shown since the test began, by caption.
    int boxesWithCaption(const std::string& caption) const {
        int n = 0;
        for (const auto& b : host.boxes) n += b.caption == caption;
        return n;
    }

    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    EditorSession session;
};

}  // namespace ts::test
