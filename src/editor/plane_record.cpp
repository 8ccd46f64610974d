#include "editor/plane_record.h"

#include "resources/texts.h"

namespace ts {

const char* standardBitText(int bit) {
    switch (bit) {
        case 10: return tr(T::BitHorizontalMirror);
        case 11: return tr(T::BitVerticalMirror);
        case 12: return tr(T::BitPaletteLsb);
        case 13:
        case 14: return tr(T::BitPalette);
        case 15: return tr(T::BitPaletteMsb);
        default: return "";
    }
}

int64_t planeCopyBytes(const PlaneRecord& plane) {
    if (plane.kind == PlaneList) return int64_t(plane.objects.count) * plane.objects.entrySize;
    return int64_t(plane.width) * plane.height * int64_t(sizeof(uint32_t));
}

}  // namespace ts
