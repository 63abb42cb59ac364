// The arithmetic of the preview pane and the progress panel, apart from the widgets that use
// it: the paint box's size and the paper's centring, which pages are visible, the clamped drag
// scroll positions and the progress bar's extent. No Qt here.
#pragma once

#include <cstdint>

namespace qm {

// Space around the paper: 16 pixels left of and above it, 20 right of and below it (the frame
// and the shadow included), 36 in all.
inline constexpr int32_t kPaperOffset = 16;
inline constexpr int32_t kPaperSurround = 36;
// Successive pages are PageH + 21 pixels apart; each page bitmap is OffY + PageH + 20 tall, so
// the lower page's grey top band covers the end of the upper one.
inline constexpr int32_t kPageGap = 21;

inline int32_t PagePitch(int32_t pageH) {
    return pageH + kPageGap;
}

struct TPaintBoxLayout {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t OffX = kPaperOffset;  // the paper's top-left corner in each page bitmap
    int32_t OffY = kPaperOffset;
};

// The paint box for `pages` pages of pageW x pageH pixels in a scroll box offering availW x
// availH pixels (its size less a scroll bar and 4). When the pages are narrower (shorter) than
// that, the box takes the available size + 1 and the paper moves by half the difference. The
// height stops at INT32_MAX.
TPaintBoxLayout PaintBoxLayout(int32_t pageW, int32_t pageH, int32_t pages, int32_t availW,
                               int32_t availH);

// Whether page `page`, whose bitmap is bitmapH tall, meets the visible rows
// scrollY .. scrollY + clientH of the paint box.
bool PageVisible(int32_t page, int32_t pageH, int32_t bitmapH, int32_t scrollY, int32_t clientH);

// A drag's new scroll position: the position at the move plus how far the pointer moved back
// from where the button went down, kept within 0 .. maximum.
int32_t DragScrollPosition(int32_t position, int32_t start, int32_t pointer, int32_t maximum);

// The right edge of the progress bar in a panel from left to right: integer arithmetic,
// percent clamped to 0..100.
int32_t ProgressBarRight(int32_t left, int32_t right, int32_t percent);

}  // namespace qm
