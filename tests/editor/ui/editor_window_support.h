#pragma once
// The editor window's tests: the demo project converted in a temporary folder, the window opened
// on one of its maps, mouse helpers in cells, and the comparison of the window's view with the
// frame the core composes for the same state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTest>
#include <filesystem>

#include "app/app_state.h"
#include "editor/editor_document.h"
#include "editor/editor_settings.h"
#include "editor/map_view_renderer.h"
#include "editor/tool_overlay.h"
#include "editor/ui/editor_window.h"
#include "editor/ui/map_view_widget.h"
#include "editor/ui/pattern_panel_widget.h"
#include "formats/platform.h"
#include "project/element_table.h"
#include "script/interpreter.h"
#include "startup/startup.h"
#include "test_support.h"

namespace ts::test {

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(std::string(TS_SOURCE_DIR) + "/examples/demo", dir.path(),
                              std::filesystem::copy_options::recursive);
        std::string rest;
        prepareStartup(app, "\"" + dir.file("demo.tsp") + "\"", TS_BINARY_DIR, rest);
        runScriptText(app, "do \"script.spt\", \"build\"");
        ASSERT_GE(countElementsOfType(app, TYPE_CARTE), 2);
        host.memoryAvailable = uint64_t(1) << 32;
        systemSettings(app).emulGba = 1;
        host.clear();
    }
    void TearDown() override { closeWithoutQuestions(); }

    int mapIndex(const std::string& name) { return TrouveElement(app, TYPE_CARTE, name); }
    const ElementRecord& mapRecord(const std::string& name) {
        const int i = mapIndex(name);
        EXPECT_GE(i, 0) << name;
        return elementTable(app).records[size_t(std::max(i, 0))];
    }

    // Opens the editor on a map of the demo (or adds it as a plane while the editor is open).
    EditorWindow* open(const std::string& name, int width = 640, int height = 400) {
        const bool fresh = !window;
        EditorWindow* w = openEditorWindow(app, mapRecord(name));
        if (fresh && w) {
            window = w;
            // A width of 0 keeps the place the settings script gave.
            if (width > 0) w->resize(width, height);
            QApplication::processEvents();
        }
        if (w) w->tick();
        return w;
    }
    EditorDocument& doc() { return editorDocument(app); }
    PlaneRecord& plane(int slot) { return doc().planes[size_t(slot)]; }
    uint32_t cell(int slot, int x, int y) { return plane(slot).cells[size_t(y) * size_t(plane(slot).width) + size_t(x)]; }

    // The view pixel in the middle of a cell of the active plane (zoom 1, scroll 0).
    QPoint cellPoint(int x, int y) {
        const PlaneRecord& p = plane(doc().active);
        const double zoom = window->viewZoom();
        return QPoint(int((x * p.blockWidth + p.blockWidth / 2 - doc().scrollX) * zoom),
                      int((y * p.blockHeight + p.blockHeight / 2 - doc().scrollY) * zoom));
    }
    void drag(Qt::MouseButton button, QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* v = window->view();
        QTest::mouseMove(v, from);
        QTest::mousePress(v, button, mods, from);
        QTest::mouseMove(v, QPoint((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
        QTest::mouseMove(v, to);
        QTest::mouseRelease(v, button, mods, to);
        window->tick();
    }
    void click(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mouseMove(window->view(), at);
        QTest::mousePress(window->view(), button, mods, at);
        QTest::mouseRelease(window->view(), button, mods, at);
        window->tick();
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(window->view(), Qt::Key(k), mods);
        if (window) window->tick();
    }

    // The frame the core composes for the window's present state (surface size).
    QImage coreFrame() {
        Surface s;
        EXPECT_TRUE(createSurface(s, window->surfaceWidth(), window->surfaceHeight()));
        const uint64_t now = host.milliseconds();
        const PlatformRecord* platform = &currentPlatform(app);
        EditorSession& session = window->session();
        composeView(s, doc(), editorSettings(app).mapsMultiPalettes != 0,
                    [&](Surface& t) { drawToolOverlay(t, doc(), session, now, platform); },
                    ObjectHighlight{&session.selectedObjects, session.currentObject, now}, platform);
        QImage image(s.width, s.height, QImage::Format_RGB32);
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) image.setPixel(x, y, 0xFF000000u | (s.at(x, y) & 0xFFFFFFu));
        return image;
    }
    // The view as the user sees it equals the core's frame, pixel for pixel (at zoom 1 the
    // grabbed widget itself, otherwise the frame it stretches).
    void expectViewIsCoreFrame(const char* what) {
        window->tick();
        QApplication::processEvents();
        const QImage core = coreFrame();
        QImage shown = window->viewZoom() == 1.0 ? window->view()->grab().toImage() : window->view()->frame();
        shown = shown.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), core.size()) << what;
        int differences = 0;
        for (int y = 0; y < core.height(); ++y)
            for (int x = 0; x < core.width(); ++x)
                if ((shown.pixel(x, y) & 0xFFFFFFu) != (core.pixel(x, y) & 0xFFFFFFu) && differences++ < 3)
                    ADD_FAILURE() << what << ": pixel " << x << "," << y << std::hex << " shows " << shown.pixel(x, y)
                                  << " instead of " << core.pixel(x, y);
        EXPECT_EQ(differences, 0) << what;
    }
    void screenshot(QWidget& w, const char* name) {
        QApplication::processEvents();
        QDir().mkpath(QString(TS_BINARY_DIR) + "/screenshots");
        w.grab().save(QString(TS_BINARY_DIR) + "/screenshots/" + name + ".png");
    }

    // Closes the window answering No to every question.
    void closeWithoutQuestions() {
        if (!window) return;
        host.answers.assign(MaxPlanes, Answer::No);
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        host.answers.clear();
    }

    TempDir dir;
    TestApp t;
    App& app = t.app;
    RecordingHost& host = t.host;
    QPointer<EditorWindow> window;
};

}  // namespace ts::test
