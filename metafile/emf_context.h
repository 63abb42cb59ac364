// The record handlers of the enhanced metafile player, by file. They share the playback state
// of the Windows metafile player (metafile_context.h); each gets a reader over its whole record
// placed after the record's type and size, so that offsets counted from the record's start
// reach its bitmaps and strings.
#pragma once

#include <cstdint>

#include "metafile/metafile_context.h"

namespace qm {

// A rectangle as enhanced metafiles store it: left, top, right, bottom, 32 bits each.
bool ReadRectL(ByteReader& r, TLogicalRect& rect);
// The part [offset, offset + size) of the whole record, as a reader; false when it lies
// outside the record.
bool RecordPart(const ByteReader& record, uint32_t offset, uint32_t size, ByteReader& part);
// Fills and outlines the shape just built, or keeps it when a path bracket is open.
bool PaintShape(TWmfPlayer& p, bool fill, bool stroke);
// Starts a shape: clears Cairo's path unless a path bracket collects it.
void BeginShape(TWmfPlayer& p);

// emf_state.cpp: device-context settings, the mapping, the world transformation, saving.
bool PlayEmfSetBkMode(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetPolyFillMode(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetRop2(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetTextAlign(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetTextColor(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetBkColor(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetMapMode(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetWindowExt(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetWindowOrg(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetViewportExt(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetViewportOrg(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSetWorldTransform(TWmfPlayer& p, ByteReader& r);
bool PlayEmfModifyWorldTransform(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSaveDc(TWmfPlayer& p, ByteReader& r);
bool PlayEmfRestoreDc(TWmfPlayer& p, ByteReader& r);
bool PlayEmfMoveTo(TWmfPlayer& p, ByteReader& r);

// emf_clip.cpp: clipping.
bool PlayEmfIntersectClipRect(TWmfPlayer& p, ByteReader& r);
bool PlayEmfExcludeClipRect(TWmfPlayer& p, ByteReader& r);
bool PlayEmfExtSelectClipRgn(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSelectClipPath(TWmfPlayer& p, ByteReader& r);

// emf_objects.cpp: the object table and the stock objects.
bool PlayEmfCreatePen(TWmfPlayer& p, ByteReader& r);
bool PlayEmfExtCreatePen(TWmfPlayer& p, ByteReader& r);
bool PlayEmfCreateBrush(TWmfPlayer& p, ByteReader& r);
bool PlayEmfCreateFont(TWmfPlayer& p, ByteReader& r);
bool PlayEmfSelectObject(TWmfPlayer& p, ByteReader& r);
bool PlayEmfDeleteObject(TWmfPlayer& p, ByteReader& r);

// emf_shapes.cpp: lines, shapes and path brackets.
bool PlayEmfLineTo(TWmfPlayer& p, ByteReader& r);
bool PlayEmfRectangle(TWmfPlayer& p, ByteReader& r);
bool PlayEmfEllipse(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolygon16(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolyline16(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolylineTo16(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolyBezier16(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolyBezierTo16(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolyPolygon16(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolyPolyline16(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolygon(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolyline(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolylineTo(TWmfPlayer& p, ByteReader& r);
bool PlayEmfPolyBezierTo(TWmfPlayer& p, ByteReader& r);
bool PlayEmfBeginPath(TWmfPlayer& p, ByteReader& r);
bool PlayEmfEndPath(TWmfPlayer& p, ByteReader& r);
bool PlayEmfCloseFigure(TWmfPlayer& p, ByteReader& r);
bool PlayEmfAbortPath(TWmfPlayer& p, ByteReader& r);
bool PlayEmfFillPath(TWmfPlayer& p, ByteReader& r);
bool PlayEmfStrokePath(TWmfPlayer& p, ByteReader& r);
bool PlayEmfStrokeAndFillPath(TWmfPlayer& p, ByteReader& r);

// emf_text.cpp: text.
bool PlayEmfExtTextOutW(TWmfPlayer& p, ByteReader& r);

// emf_bitmaps.cpp: block transfers.
bool PlayEmfBitBlt(TWmfPlayer& p, ByteReader& r);
bool PlayEmfStretchBlt(TWmfPlayer& p, ByteReader& r);
bool PlayEmfStretchDiBits(TWmfPlayer& p, ByteReader& r);

}  // namespace qm
