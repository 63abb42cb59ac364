// Owners for the Cairo objects the metafile player makes: a surface or pattern may be held by a
// brush that several device contexts share, so they are reference counted like Cairo's own.
#pragma once

#include <cairo.h>

#include <memory>

namespace qm {

struct TCairoDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};

using TCairoContext = std::unique_ptr<cairo_t, TCairoDeleter>;
using TCairoSurface = std::shared_ptr<cairo_surface_t>;

// Takes over a surface Cairo made; a surface in an error state (Cairo returns one instead of
// null when memory is short or a size is invalid) gives an empty owner.
inline TCairoSurface OwnSurface(cairo_surface_t* surface) {
    if (surface == nullptr) return {};
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return {};
    }
    return TCairoSurface(surface, TCairoDeleter{});
}

// A picture of width x height pixels painted white, and the context that draws on it; an empty
// surface when Cairo cannot make one.
struct TWhiteCanvas {
    TCairoSurface Surface;
    TCairoContext Cr;
};
inline TWhiteCanvas WhiteCanvas(int width, int height) {
    TWhiteCanvas canvas;
    canvas.Surface = OwnSurface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    if (!canvas.Surface) return canvas;
    canvas.Cr.reset(cairo_create(canvas.Surface.get()));
    cairo_set_source_rgb(canvas.Cr.get(), 1, 1, 1);
    cairo_paint(canvas.Cr.get());
    return canvas;
}

}  // namespace qm
