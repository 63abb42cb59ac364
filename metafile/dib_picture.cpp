// A device-independent bitmap stored on its own, as Word keeps DIB pictures: decoded by the
// metafile player's bitmap reader and copied into a picture.
#include "metafile/emf_context.h"
#include "metafile/emf_player.h"

namespace qm {

bool DecodeDibPicture(std::span<const uint8_t> dib, TDib& picture) {
    deldib(picture);
    ByteReader r(dib);
    TCairoSurface surface;
    const TWmfPalette noPalette;
    if (!DecodeDib(noPalette, r, r, 0, surface) || !surface) return false;
    return CopyToDib(surface.get(), picture);
}

}  // namespace qm
