#include <algorithm>
#include <cmath>

#include "metafile/metafile_context.h"

namespace qm {

namespace {

// Each device context SaveDC keeps costs a copy of the state; real metafiles nest a few.
constexpr size_t kMaxSavedContexts = 256;
// The pixels one playback may paint: this many times the picture. Real drawings cover their
// picture a few times over; a file of thousands of full-picture fills ends here instead of
// keeping the import busy for minutes.
constexpr double kPaintBudgetPictures = 64;

}  // namespace

TWmfPlayer::TWmfPlayer(cairo_t* cr, int32_t width, int32_t height, uint16_t objectCount)
    : cr_(cr),
      width_(width),
      height_(height),
      objectLimit_(objectCount),
      budget_(kPaintBudgetPictures * double(width) * double(height)) {}

double TWmfPlayer::ScaleX() const {
    if (enhanced_) {
        const cairo_matrix_t m = LogicalToPicture();
        return std::hypot(m.xx, m.yx);
    }
    return width_ / dc_.WindowExtX;
}
double TWmfPlayer::ScaleY() const {
    if (enhanced_) {
        const cairo_matrix_t m = LogicalToPicture();
        return std::hypot(m.xy, m.yy);
    }
    return height_ / dc_.WindowExtY;
}

void TWmfPlayer::ApplyWindow() {
    if (enhanced_) {
        // A mapping that folds the picture onto a line (a zero extent or scale) would put Cairo
        // into an error state that ends all drawing; the last usable one stays instead.
        const cairo_matrix_t m = LogicalToPicture();
        cairo_matrix_t inverse = m;
        if (cairo_matrix_invert(&inverse) == CAIRO_STATUS_SUCCESS) cairo_set_matrix(cr_, &m);
        return;
    }
    cairo_identity_matrix(cr_);
    cairo_scale(cr_, ScaleX(), ScaleY());
    cairo_translate(cr_, -dc_.WindowOrgX, -dc_.WindowOrgY);
}

TWmfPoint TWmfPlayer::ToDevice(double x, double y) const {
    if (enhanced_) {
        const cairo_matrix_t m = LogicalToPicture();
        cairo_matrix_transform_point(&m, &x, &y);
        return {x, y};
    }
    return {(x - dc_.WindowOrgX) * ScaleX(), (y - dc_.WindowOrgY) * ScaleY()};
}

void TWmfPlayer::AddObject(TWmfObject object) {
    auto empty = std::find_if(objects_.begin(), objects_.end(), [](const TWmfObject& o) {
        return std::holds_alternative<std::monostate>(o);
    });
    if (empty != objects_.end()) {
        *empty = std::move(object);
    } else if (objects_.size() < objectLimit_) {
        objects_.push_back(std::move(object));
    }
}

void TWmfPlayer::SetObject(uint32_t index, TWmfObject object) {
    if (index >= objectLimit_) return;
    if (index >= objects_.size()) objects_.resize(size_t{index} + 1);
    objects_[index] = std::move(object);
}

TWmfObject* TWmfPlayer::Object(uint32_t index) {
    if (index >= objects_.size() || std::holds_alternative<std::monostate>(objects_[index]))
        return nullptr;
    return &objects_[index];
}

void TWmfPlayer::DeleteObject(uint32_t index) {
    if (index < objects_.size()) objects_[index] = std::monostate{};
}

void TWmfPlayer::Save() {
    if (saved_.size() >= kMaxSavedContexts) return;
    saved_.push_back(dc_);
    cairo_save(cr_);
}

void TWmfPlayer::Restore(int16_t level) {
    // [MS-WMF] 2.3.5.10: a negative level is relative to the current one; a positive one names
    // the saved context to return to (1 is the first saved).
    const int64_t depth = static_cast<int64_t>(saved_.size());
    const int64_t target = level < 0 ? depth + level : int64_t{level} - 1;
    if (target < 0 || target >= depth) return;
    while (static_cast<int64_t>(saved_.size()) > target) {
        dc_ = std::move(saved_.back());
        saved_.pop_back();
        cairo_restore(cr_);
    }
    ApplyWindow();
}

uint32_t TWmfPlayer::Color(uint32_t colorRef) const {
    if ((colorRef >> 24) == 1) {
        const size_t index = colorRef & 0xFFFF;
        return index < dc_.Palette.Colors.size() ? dc_.Palette.Colors[index] : kWmfBlack;
    }
    return colorRef & 0xFFFFFF;
}

bool TWmfPlayer::Spend(double left, double top, double right, double bottom) {
    const double w = std::clamp(right, 0.0, double(width_)) - std::clamp(left, 0.0, double(width_));
    const double h =
        std::clamp(bottom, 0.0, double(height_)) - std::clamp(top, 0.0, double(height_));
    if (std::isnan(w) || std::isnan(h)) return true;
    budget_ -= std::max(w, 1.0) * std::max(h, 1.0);
    return budget_ >= 0;
}

bool ReadColorRef(ByteReader& r, uint32_t& color) {
    uint8_t red = 0, green = 0, blue = 0, kind = 0;
    if (!r.U8(red) || !r.U8(green) || !r.U8(blue) || !r.U8(kind)) return false;
    color = (uint32_t{kind} << 24) | (uint32_t{blue} << 16) | (uint32_t{green} << 8) | red;
    return true;
}

}  // namespace qm
