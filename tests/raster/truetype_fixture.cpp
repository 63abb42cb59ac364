#include "raster/truetype_fixture.h"

#include <algorithm>
#include <map>

namespace qm {

namespace {

using TBytes = std::vector<uint8_t>;

void Be16(TBytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}
void Be32(TBytes& out, uint32_t v) {
    Be16(out, static_cast<uint16_t>(v >> 16));
    Be16(out, static_cast<uint16_t>(v));
}

constexpr int16_t kAscent = 800;
constexpr int16_t kDescent = -200;
constexpr int16_t kSquare[4][2] = {{100, 0}, {400, 0}, {400, 700}, {100, 700}};

TBytes Head(const TTestFontPlan& plan) {
    TBytes t;
    Be32(t, 0x00010000);  // version
    Be32(t, 0x00010000);  // font revision
    Be32(t, 0);           // checksum adjustment
    Be32(t, 0x5F0F3CF5);  // magic
    Be16(t, 0x000B);      // flags: baseline at 0, left sidebearing at 0, integer scaling
    Be16(t, plan.UnitsPerEm);
    for (int i = 0; i < 4; ++i)
        Be32(t, 0);  // created, modified
    for (int v : {0, int{kDescent}, 400, int{kAscent}})
        Be16(t, static_cast<uint16_t>(v));
    Be16(t, 0);  // mac style
    Be16(t, 8);  // lowest readable size
    Be16(t, 2);  // font direction hint
    Be16(t, 0);  // short loca offsets
    Be16(t, 0);  // glyph data format
    return t;
}

TBytes Hhea(const TTestFontPlan& plan) {
    TBytes t;
    Be32(t, 0x00010000);
    Be16(t, kAscent);
    Be16(t, static_cast<uint16_t>(kDescent));
    Be16(t, 0);  // line gap
    uint16_t widest = 0;
    for (uint16_t advance : plan.Advances)
        widest = std::max(widest, advance);
    Be16(t, widest);
    for (int i = 0; i < 3; ++i)
        Be16(t, 0);  // min side bearings, max extent
    Be16(t, 1);      // caret slope rise
    for (int i = 0; i < 7; ++i)
        Be16(t, 0);  // run, offset, reserved, metric data format
    Be16(t, static_cast<uint16_t>(plan.Advances.size()));
    return t;
}

TBytes Maxp(const TTestFontPlan& plan) {
    TBytes t;
    Be32(t, 0x00010000);
    Be16(t, static_cast<uint16_t>(plan.Advances.size()));
    Be16(t, 4);  // points
    Be16(t, 1);  // contours
    Be16(t, 0);
    Be16(t, 0);
    Be16(t, 2);  // zones
    for (int i = 0; i < 8; ++i)
        Be16(t, 0);
    return t;
}

TBytes Hmtx(const TTestFontPlan& plan) {
    TBytes t;
    for (size_t glyph = 0; glyph < plan.Advances.size(); ++glyph) {
        Be16(t, plan.Advances[glyph]);
        Be16(t, glyph == 0 ? 0 : 100);  // left side bearing
    }
    return t;
}

TBytes SquareGlyph() {
    TBytes g;
    Be16(g, 1);  // contours
    for (int v : {100, 0, 400, 700})
        Be16(g, static_cast<uint16_t>(v));
    Be16(g, 3);  // last point of the contour
    Be16(g, 0);  // no instructions
    for (int i = 0; i < 4; ++i)
        g.push_back(0x01);  // on-curve, 16-bit deltas
    for (int axis = 0; axis < 2; ++axis) {
        int16_t last = 0;
        for (const auto& point : kSquare) {
            Be16(g, static_cast<uint16_t>(point[axis] - last));
            last = point[axis];
        }
    }
    return g;  // 34 bytes, padded by the caller
}

// Glyph 0 is empty; every other glyph is a square of 36 bytes (short loca offsets are halves).
void GlyfAndLoca(const TTestFontPlan& plan, TBytes& glyf, TBytes& loca) {
    TBytes square = SquareGlyph();
    square.resize(36);
    Be16(loca, 0);
    for (size_t glyph = 0; glyph < plan.Advances.size(); ++glyph) {
        if (glyph > 0) glyf.insert(glyf.end(), square.begin(), square.end());
        Be16(loca, static_cast<uint16_t>(glyf.size() / 2));
    }
}

// A format 4 subtable with one segment per mapped code and the closing 0xFFFF segment.
TBytes Cmap(const TTestFontPlan& plan) {
    const auto segments = static_cast<uint16_t>(plan.Map.size() + 1);
    uint16_t range = 2;
    uint16_t selector = 0;
    while (range * 2 <= segments * 2)
        range *= 2, ++selector;
    TBytes sub;
    Be16(sub, 4);
    Be16(sub, static_cast<uint16_t>(16 + 8 * segments));
    Be16(sub, 0);  // language
    Be16(sub, static_cast<uint16_t>(segments * 2));
    Be16(sub, range);
    Be16(sub, selector);
    Be16(sub, static_cast<uint16_t>(segments * 2 - range));
    for (const auto& [code, glyph] : plan.Map)
        Be16(sub, code);
    Be16(sub, 0xFFFF);
    Be16(sub, 0);  // reserved
    for (const auto& [code, glyph] : plan.Map)
        Be16(sub, code);
    Be16(sub, 0xFFFF);
    for (const auto& [code, glyph] : plan.Map)
        Be16(sub, static_cast<uint16_t>(glyph - code));
    Be16(sub, 1);
    for (uint16_t i = 0; i < segments; ++i)
        Be16(sub, 0);  // no range offsets
    TBytes t;
    Be16(t, 0);  // version
    Be16(t, 1);  // one subtable
    Be16(t, 3);  // Windows
    Be16(t, plan.SymbolMap ? 0 : 1);
    Be32(t, 12);
    t.insert(t.end(), sub.begin(), sub.end());
    return t;
}

// Family, style, full and PostScript names, in UTF-16BE for Windows.
TBytes Name(const TTestFontPlan& plan) {
    std::string postScript;
    for (char c : plan.Family)
        if (c != ' ') postScript += c;
    const std::pair<uint16_t, std::string> kNames[] = {
        {1, plan.Family}, {2, "Regular"}, {4, plan.Family}, {6, postScript}};
    TBytes strings;
    TBytes t;
    Be16(t, 0);
    Be16(t, 4);
    Be16(t, 6 + 12 * 4);
    for (const auto& [id, text] : kNames) {
        Be16(t, 3);
        Be16(t, 1);
        Be16(t, 0x0409);
        Be16(t, id);
        Be16(t, static_cast<uint16_t>(text.size() * 2));
        Be16(t, static_cast<uint16_t>(strings.size()));
        for (char c : text)
            Be16(strings, static_cast<uint8_t>(c));
    }
    t.insert(t.end(), strings.begin(), strings.end());
    return t;
}

}  // namespace

std::vector<uint8_t> MakeTrueTypeFont(const TTestFontPlan& plan) {
    std::map<std::string, TBytes> tables;  // sorted by tag, as the directory wants them
    tables["head"] = Head(plan);
    tables["hhea"] = Hhea(plan);
    tables["maxp"] = Maxp(plan);
    tables["hmtx"] = Hmtx(plan);
    GlyfAndLoca(plan, tables["glyf"], tables["loca"]);
    tables["cmap"] = Cmap(plan);
    tables["name"] = Name(plan);
    TBytes font;
    const auto count = static_cast<uint16_t>(tables.size());
    Be32(font, 0x00010000);
    Be16(font, count);
    Be16(font, 128);  // search range for 7 to 15 tables
    Be16(font, 3);
    Be16(font, static_cast<uint16_t>(count * 16 - 128));
    uint32_t offset = 12 + 16 * count;
    for (const auto& [tag, data] : tables) {
        font.insert(font.end(), tag.begin(), tag.end());
        Be32(font, 0);  // checksums are not checked by the readers
        Be32(font, offset);
        Be32(font, static_cast<uint32_t>(data.size()));
        offset += static_cast<uint32_t>((data.size() + 3) & ~size_t{3});
    }
    for (const auto& [tag, data] : tables) {
        font.insert(font.end(), data.begin(), data.end());
        font.resize((font.size() + 3) & ~size_t{3});
    }
    return font;
}

}  // namespace qm
