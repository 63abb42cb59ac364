// A drawing surface that records every call as a line of text, for page-drawing tests. Text
// measures a fixed width per character and a fixed height.
#pragma once

#include <string>
#include <vector>

#include "base/cp1252.h"
#include "model/page_surface.h"

namespace qm::test {

class TRecordingSurface : public TPageSurface {
public:
    int32_t CharWidth = 3;
    int32_t CharHeight = 10;
    std::vector<std::string> Calls;

    void FillRect(const TRect& r, int32_t color, TFillKind) override {
        Add("fill " + Box(r) + " " + std::to_string(color));
    }
    void FrameRect(const TRect& r, int32_t color, int32_t pen) override {
        Add("frame " + Box(r) + " " + std::to_string(color) + " " + std::to_string(pen));
    }
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color, int32_t pen) override {
        Add("line " + std::to_string(x0) + "," + std::to_string(y0) + " " + std::to_string(x1) +
            "," + std::to_string(y1) + " " + std::to_string(color) + " " + std::to_string(pen));
    }
    void SetClip(const TRect* r) override { Add(r ? "clip " + Box(*r) : "noclip"); }
    void SelectFont(const std::string& face, double size, uint8_t style, uint8_t,
                    uint8_t) override {
        Add("font " + face + " " + std::to_string(size) + " " + std::to_string(style));
    }
    int32_t TextWidth(std::u32string_view text) override {
        return CharWidth * static_cast<int32_t>(text.size());
    }
    int32_t TextHeight(std::u32string_view) override { return CharHeight; }
    void DrawTextRun(int32_t x, int32_t y, std::u32string_view text, const TTextRunStyle& s) override {
        Add("text " + std::to_string(x) + "," + std::to_string(y) + " " + Cp1252Encode(text) +
            " u" + std::to_string(s.UnderlineKind));
    }
    void DrawGlyphCluster(int32_t x, int32_t y, const TGlyphCluster& c, const TTextRunStyle&) override {
        Add("glyphs " + std::to_string(x) + "," + std::to_string(y) + " " +
            std::to_string(c.Glyphs.size()) + " for " + std::to_string(c.Text.size()));
    }
    void DrawPicture(int32_t x, int32_t y, int32_t w, int32_t h, const TDib&) override {
        Add("picture " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(w) +
            "x" + std::to_string(h));
    }

    // The calls that start with a prefix.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& c : Calls)
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        return out;
    }

private:
    void Add(std::string s) { Calls.push_back(std::move(s)); }
    static std::string Box(const TRect& r) {
        return std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" +
               std::to_string(r.Right) + "," + std::to_string(r.Bottom);
    }
};

}  // namespace qm::test
