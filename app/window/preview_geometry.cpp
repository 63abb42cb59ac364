#include "app/window/preview_geometry.h"

#include <algorithm>
#include <cstdint>

namespace qm {

namespace {

// One axis of the centring: the wanted extent, or the available one + 1 with the offset moved
// by half the difference (integer division truncating toward zero).
void Centre(int32_t wanted, int32_t available, int32_t& extent, int32_t& offset) {
    extent = wanted;
    if (wanted < available) {
        extent = available + 1;
        offset += (available + 1 - wanted) / 2;
    }
}

}  // namespace

TPaintBoxLayout PaintBoxLayout(int32_t pageW, int32_t pageH, int32_t pages, int32_t availW,
                               int32_t availH) {
    TPaintBoxLayout layout;
    const int32_t wantedW = pageW + kPaperSurround;
    // Computed wide: a document of millions of pages must not wrap around.
    const int64_t tall =
        static_cast<int64_t>(PagePitch(pageH)) * (std::max(pages, 1) - 1) + pageH + kPaperSurround;
    const auto wantedH = static_cast<int32_t>(std::min<int64_t>(tall, INT32_MAX));
    Centre(wantedW, availW, layout.Width, layout.OffX);
    Centre(wantedH, availH, layout.Height, layout.OffY);
    return layout;
}

bool PageVisible(int32_t page, int32_t pageH, int32_t bitmapH, int32_t scrollY, int32_t clientH) {
    const int64_t top = static_cast<int64_t>(PagePitch(pageH)) * page;
    return top + bitmapH >= scrollY && static_cast<int64_t>(clientH) + scrollY >= top;
}

int32_t DragScrollPosition(int32_t position, int32_t start, int32_t pointer, int32_t maximum) {
    const int64_t wanted = static_cast<int64_t>(position) + start - pointer;
    return static_cast<int32_t>(std::clamp<int64_t>(wanted, 0, std::max(maximum, 0)));
}

int32_t ProgressBarRight(int32_t left, int32_t right, int32_t percent) {
    const int32_t p = std::clamp(percent, 0, 100);
    return left + (right - left) * p / 100;
}

}  // namespace qm
