#include "project/element_render.h"

#include <utility>

#include "project/element_preview.h"
#include "project/map_frame.h"

namespace ts {

bool renderElement(App& app, int index, uint32_t background, Surface& out) {
    ElementPreview preview;
    if (!buildPreview(app, index, PreviewSettings{}, background, preview, PreviewRender{true, true, true})) return false;
    if (preview.mode == PreviewMode::None || preview.partial) return false;
    out = std::move(preview.surface);
    return true;
}

bool renderMapElement(App& app, const ElementRecord& element, uint32_t background, Surface& out) {
    MapFrame frame;
    if (!openMapFrame(app, element, background, true, frame)) return false;
    const int64_t width = mapFrameWidth(frame), height = mapFrameHeight(frame);
    if (!surfaceSizeAllowed(width, height) || !createSurface(out, int(width), int(height))) return false;
    drawMapFrame(app, frame, out);
    return true;
}

}  // namespace ts
