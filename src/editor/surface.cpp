#include "editor/surface.h"

#include <new>

namespace ts {

bool surfaceSizeAllowed(int64_t width, int64_t height) {
    if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return false;
    const int64_t stride = (width + 3) & ~int64_t(3);
    return stride * height <= kMaxSurfacePixels;
}

bool createSurface(Surface& surface, int width, int height) {
    destroySurface(surface);
    if (!surfaceSizeAllowed(width, height)) return false;
    const int stride = (width + 3) & ~3;
    try {
        surface.pixels.assign(size_t(stride) * size_t(height), 0u);
    } catch (const std::bad_alloc&) {
        destroySurface(surface);
        return false;
    }
    surface.width = width;
    surface.height = height;
    surface.stride = stride;
    surface.allocatedHeight = height;
    return true;
}

bool prepareSurface(Surface& surface, int width, int height) {
    if (surface.width == width && surface.height == height && !surface.pixels.empty() &&
        surface.pixels.size() == size_t(surface.stride) * size_t(height))
        return true;
    return createSurface(surface, width, height);
}

void destroySurface(Surface& surface) {
    std::vector<uint32_t>().swap(surface.pixels);
    surface.width = surface.height = surface.stride = surface.allocatedHeight = 0;
}

bool copySurface(Surface& dst, const Surface& src) {
    if (&dst == &src) return true;
    if (src.empty()) {
        destroySurface(dst);
        return true;
    }
    try {
        dst.pixels = src.pixels;
    } catch (const std::bad_alloc&) {
        destroySurface(dst);
        return false;
    }
    dst.width = src.width;
    dst.height = src.height;
    dst.stride = src.stride;
    dst.allocatedHeight = src.allocatedHeight;
    return true;
}

}  // namespace ts
