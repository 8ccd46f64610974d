#include "project/map_frame.h"

#include <utility>

#include "editor/editor_settings.h"
#include "editor/map_view_renderer.h"
#include "formats/platform.h"
#include "host/host_services.h"
#include "project/element_record.h"
#include "script/interpreter.h"
#include "script/script_state.h"
#include "script/values.h"

namespace ts {

namespace {

// Puts `doc` in the place of the editor's document for the life of the object, so that the
// editor's opening code and the settings script's commands work on it.
class BorrowedDocument {
public:
    BorrowedDocument(App& app, EditorDocument& doc) : app_(app), doc_(doc) { std::swap(editorDocument(app_), doc_); }
    ~BorrowedDocument() { std::swap(editorDocument(app_), doc_); }
    BorrowedDocument(const BorrowedDocument&) = delete;
    BorrowedDocument& operator=(const BorrowedDocument&) = delete;

private:
    App& app_;
    EditorDocument& doc_;
};

// What a settings script may change outside the document; put back after the run.
struct ScriptSideState {
    EditorSettings editor;
    int stopRequest = 0;
    int returnValue = 1;
    int currentIndex = 0;

    explicit ScriptSideState(App& app)
        : editor(editorSettings(app)),
          stopRequest(scriptState(app).stopRequest),
          returnValue(scriptState(app).returnValue),
          currentIndex(scriptState(app).currentIndex) {}
    void restore(App& app) const {
        editorSettings(app) = editor;
        ScriptState& s = scriptState(app);
        s.stopRequest = stopRequest;
        s.returnValue = returnValue;
        s.currentIndex = currentIndex;
    }
};

}  // namespace

bool openMapFrame(App& app, const ElementRecord& element, uint32_t background, bool withSettings,
                  MapFrame& frame) {
    frame.doc = EditorDocument{};
    EditorDocument& doc = frame.doc;
    doc.background = background & 0xFFFFFFu;
    doc.open = true;  // the settings script's Maps.Add opens planes only into an open editor
    doc.memoryLimit = int64_t(hostServices(app).availableMemory() / 4);
    bool opened = false;
    bool multiPalettes = editorSettings(app).mapsMultiPalettes != 0;
    {
        BorrowedDocument borrowed(app, doc);
        opened = openPlane(app, element) == OpenDone;
        if (opened && withSettings) {
            const ScriptSideState side(app);
            EditorDocument& own = editorDocument(app);
            own.settingsFile = settingsPath(element.file);
            runScriptFile(app, own.settingsFile);
            multiPalettes = editorSettings(app).mapsMultiPalettes != 0;
            side.restore(app);
        }
    }
    doc.open = false;
    doc.messages.clear();
    // The frame shows the map, not the editor's working aids.
    doc.options.gridShown = 0;
    doc.options.hexMode = 0;
    doc.scrollX = doc.scrollY = 0;
    frame.multiPalettes = multiPalettes;
    if (doc.active < 0 || doc.active >= doc.count) doc.active = 0;
    return opened && doc.count > 0 && doc.planes[size_t(doc.active)].kind == PlaneMap;
}

int64_t mapFrameWidth(const MapFrame& frame) {
    const EditorDocument& doc = frame.doc;
    if (doc.count <= 0) return 0;
    const PlaneRecord& p = doc.planes[size_t(doc.active)];
    return int64_t(p.width) * p.blockWidth;
}

int64_t mapFrameHeight(const MapFrame& frame) {
    const EditorDocument& doc = frame.doc;
    if (doc.count <= 0) return 0;
    const PlaneRecord& p = doc.planes[size_t(doc.active)];
    return int64_t(p.height) * p.blockHeight;
}

void drawMapFrame(App& app, const MapFrame& frame, Surface& target) {
    composeView(target, frame.doc, frame.multiPalettes, OverlayPainter{}, ObjectHighlight{},
                &currentPlatform(app));
}

}  // namespace ts
