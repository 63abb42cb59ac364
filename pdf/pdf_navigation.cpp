// Link annotations, the outline and the information dictionary (PDF Reference 1.3, 7.4.1 and
// 7.4.3 for link annotations, 8.2.2 for the outline, 9.2.1 for the information dictionary).
#include "pdf/pdf_navigation.h"

#include <algorithm>
#include <cstdlib>

#include "pdf/pdf_canvas.h"

namespace qm {

namespace {

// Bytes of an address that a URI action cannot hold as they are (it is 7-bit ASCII) are
// written as %XX escapes.
std::string UriBytes(std::string_view uri) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : uri) {
        const auto c = static_cast<uint8_t>(ch);
        if (c > 32 && c < 127) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

void AppendHex16(std::string& out, uint16_t unit) {
    static const char kHex[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4)
        out.push_back(kHex[(unit >> shift) & 15]);
}

// Days from 1970-01-01 to a civil date, and back (the proleptic Gregorian calendar).
void CivilFromDays(int64_t days, int64_t& year, int32_t& month, int32_t& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int32_t>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

std::string TwoDigits(int64_t value) {
    return std::string{static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

std::string PDFTextString(std::u32string_view text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char32_t c) { return c < 128; });
    if (plain) {
        const std::string bytes(text.begin(), text.end());
        std::string out(1, '(');
        AppendEscapedPDFString(out, bytes);
        out.push_back(')');
        return out;
    }
    std::string out = "<FEFF";
    for (char32_t c : text) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c >= 0x10000) {
            AppendHex16(out, static_cast<uint16_t>(0xD800 + ((c - 0x10000) >> 10)));
            AppendHex16(out, static_cast<uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            AppendHex16(out, static_cast<uint16_t>(c));
        }
    }
    out.push_back('>');
    return out;
}

std::string PDFDate(int64_t secondsSince1970) {
    int64_t days = secondsSince1970 / 86400;
    int64_t seconds = secondsSince1970 % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    int64_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    CivilFromDays(days, year, month, day);
    std::string out = "D:" + std::to_string(year);
    out += TwoDigits(month) + TwoDigits(day) + TwoDigits(seconds / 3600) +
           TwoDigits(seconds / 60 % 60) + TwoDigits(seconds % 60) + "Z";
    return out;
}

std::optional<std::string> SourceDateFromEnvironment() {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (value == nullptr || *value == 0) return std::nullopt;
    // Years 0 to 9999 only: a PDF date has four digits for the year.
    constexpr int64_t kLastSecond = 253402300799;  // 9999-12-31 23:59:59
    int64_t seconds = 0;
    for (const char* p = value; *p != 0; ++p) {
        if (*p < '0' || *p > '9') return std::nullopt;
        seconds = seconds * 10 + (*p - '0');
        if (seconds > kLastSecond) return std::nullopt;
    }
    return PDFDate(seconds);
}

void TPDFNavigation::AddLink(const TPDFLinkArea& area) {
    if (!links_.empty()) {
        TPDFLinkArea& last = links_.back();
        const bool sameTarget =
            last.Page == area.Page && last.Place == area.Place && last.Uri == area.Uri;
        // The next character of a line starts where the last ended (or ends where it started,
        // in right-to-left text); a point of rounding may lie between them.
        const bool touches = area.Left <= last.Right + 1 && area.Right >= last.Left - 1;
        if (sameTarget && last.Top == area.Top && last.Bottom == area.Bottom && touches) {
            last.Left = std::min(last.Left, area.Left);
            last.Right = std::max(last.Right, area.Right);
            return;
        }
    }
    links_.push_back(area);
}

void TPDFNavigation::MarkPlace(int32_t place, int32_t page, int32_t x, int32_t y) {
    if (place < 0) return;
    if (static_cast<size_t>(place) >= places_.size())
        places_.resize(static_cast<size_t>(place) + 1);
    TPlace& p = places_[static_cast<size_t>(place)];
    if (p.Page < 0) p = TPlace{page, x, y};
}

void TPDFNavigation::AddOutlineEntry(TPDFOutlineEntry entry) {
    outline_.push_back(std::move(entry));
}

const TPDFNavigation::TPlace* TPDFNavigation::PlaceOf(int32_t place) const {
    if (place < 0 || static_cast<size_t>(place) >= places_.size()) return nullptr;
    const TPlace& p = places_[static_cast<size_t>(place)];
    return p.Page >= 0 ? &p : nullptr;
}

void TPDFNavigation::Settle(int32_t pages, int32_t firstObject) {
    std::erase_if(links_, [&](const TPDFLinkArea& a) {
        return a.Page < 0 || a.Page >= pages || a.Left >= a.Right ||
               (a.Uri.empty() && PlaceOf(a.Place) == nullptr);
    });
    std::stable_sort(links_.begin(), links_.end(),
                     [](const TPDFLinkArea& a, const TPDFLinkArea& b) { return a.Page < b.Page; });
    std::erase_if(outline_, [&](const TPDFOutlineEntry& e) { return PlaceOf(e.Place) == nullptr; });

    firstLinkOfPage_.assign(static_cast<size_t>(pages) + 1, 0);
    size_t next = 0;
    for (int32_t page = 0; page <= pages; ++page) {
        while (next < links_.size() && links_[next].Page < page)
            ++next;
        firstLinkOfPage_[static_cast<size_t>(page)] = static_cast<int32_t>(next);
    }

    // Each item's parent is the nearest item before it of a higher level (a lower number).
    tree_.assign(outline_.size(), TTreeLinks{});
    rootFirst_ = rootLast_ = -1;
    std::vector<int32_t> open;  // the chain of items the next one may belong to
    for (size_t i = 0; i < outline_.size(); ++i) {
        const auto item = static_cast<int32_t>(i);
        while (!open.empty() &&
               outline_[static_cast<size_t>(open.back())].Level >= outline_[i].Level)
            open.pop_back();
        const int32_t parent = open.empty() ? -1 : open.back();
        int32_t& first = parent < 0 ? rootFirst_ : tree_[static_cast<size_t>(parent)].First;
        int32_t& last = parent < 0 ? rootLast_ : tree_[static_cast<size_t>(parent)].Last;
        tree_[i].Parent = parent;
        tree_[i].Prev = last;
        if (last >= 0) tree_[static_cast<size_t>(last)].Next = item;
        if (first < 0) first = item;
        last = item;
        for (int32_t a = parent; a >= 0; a = tree_[static_cast<size_t>(a)].Parent)
            ++tree_[static_cast<size_t>(a)].Count;
        open.push_back(item);
    }

    firstAnnotObject_ = firstObject;
    firstOutlineObject_ = firstAnnotObject_ + static_cast<int32_t>(links_.size());
    const int32_t afterOutline = firstOutlineObject_ + static_cast<int32_t>(outline_.size());
    infoObject_ = info_.Empty() ? 0 : afterOutline;
}

std::string TPDFNavigation::AnnotsLine(int32_t page) const {
    if (page < 0 || static_cast<size_t>(page) + 1 >= firstLinkOfPage_.size()) return {};
    const int32_t first = firstLinkOfPage_[static_cast<size_t>(page)];
    const int32_t end = firstLinkOfPage_[static_cast<size_t>(page) + 1];
    if (first == end) return {};
    std::string line = "/Annots [";
    for (int32_t i = first; i < end; ++i) {
        if (i > first) line += ' ';
        line += std::to_string(firstAnnotObject_ + i) + " 0 R";
    }
    return line + "]";
}

std::string TPDFNavigation::OutlineRootLines(int32_t rootObject) const {
    (void)rootObject;
    if (outline_.empty()) return "/Count 0";
    return "/First " + std::to_string(firstOutlineObject_ + rootFirst_) + " 0 R\n/Last " +
           std::to_string(firstOutlineObject_ + rootLast_) + " 0 R\n/Count " +
           std::to_string(outline_.size());
}

void TPDFNavigation::WriteDestination(TPDFObjectWriter& out, const TPlace& place,
                                      int32_t firstPageObject,
                                      const std::vector<int32_t>& pageHeights) const {
    const int32_t height = static_cast<size_t>(place.Page) < pageHeights.size()
                               ? pageHeights[static_cast<size_t>(place.Page)]
                               : 0;
    out.WriteRaw("[");
    out.WriteNumber(int64_t{firstPageObject} + place.Page);
    out.WriteRaw(" 0 R /XYZ ");
    out.WriteNumber(place.X);
    out.WriteRaw(" ");
    out.WriteNumber(int64_t{height} - place.Y);
    out.WriteRaw(" null]");
}

void TPDFNavigation::WriteAnnotation(TPDFObjectWriter& out, const TPDFLinkArea& area,
                                     int32_t firstPageObject,
                                     const std::vector<int32_t>& pageHeights) const {
    const int64_t height = static_cast<size_t>(area.Page) < pageHeights.size()
                               ? pageHeights[static_cast<size_t>(area.Page)]
                               : 0;
    out.BeginDictObject();
    out.WriteLine("/Type /Annot");
    out.WriteLine("/Subtype /Link");
    out.WriteRaw("/Rect [");
    out.WriteNumber(area.Left);
    out.WriteRaw(" ");
    out.WriteNumber(height - area.Bottom);
    out.WriteRaw(" ");
    out.WriteNumber(area.Right);
    out.WriteRaw(" ");
    out.WriteNumber(height - area.Top);
    out.WriteLine("]");
    out.WriteLine("/Border [0 0 0]");
    if (!area.Uri.empty()) {
        out.WriteLine("/A << /S /URI /URI (" + EscapePDFString(UriBytes(area.Uri)) + ") >>");
    } else {
        out.WriteRaw("/A << /S /GoTo /D ");
        WriteDestination(out, *PlaceOf(area.Place), firstPageObject, pageHeights);
        out.WriteLine(" >>");
    }
    out.EndDictObject();
    out.ObjectFinished();
}

void TPDFNavigation::WriteOutlineItem(TPDFObjectWriter& out, size_t i, int32_t rootObject,
                                      int32_t firstPageObject,
                                      const std::vector<int32_t>& pageHeights) const {
    const TTreeLinks& t = tree_[i];
    auto reference = [&](std::string_view key, int32_t item) {
        if (item < 0) return;
        out.WriteRaw(key);
        out.WriteNumber(int64_t{firstOutlineObject_} + item);
        out.WriteLine(" 0 R");
    };
    out.BeginDictObject();
    out.WriteLine("/Title " + PDFTextString(outline_[i].Title));
    out.WriteRaw("/Parent ");
    out.WriteNumber(t.Parent < 0 ? rootObject : int64_t{firstOutlineObject_} + t.Parent);
    out.WriteLine(" 0 R");
    reference("/Prev ", t.Prev);
    reference("/Next ", t.Next);
    reference("/First ", t.First);
    reference("/Last ", t.Last);
    if (t.Count > 0) {
        out.WriteRaw("/Count ");
        out.WriteNumber(t.Count);
        out.EndLine();
    }
    out.WriteRaw("/Dest ");
    WriteDestination(out, *PlaceOf(outline_[i].Place), firstPageObject, pageHeights);
    out.EndLine();
    out.EndDictObject();
    out.ObjectFinished();
}

void TPDFNavigation::WriteInfo(TPDFObjectWriter& out) const {
    out.BeginDictObject();
    auto entry = [&](std::string_view key, const std::u32string& value) {
        if (value.empty()) return;
        out.WriteRaw(key);
        out.WriteLine(PDFTextString(value));
    };
    entry("/Title ", info_.Title);
    entry("/Subject ", info_.Subject);
    entry("/Author ", info_.Author);
    entry("/Keywords ", info_.Keywords);
    out.WriteLine("/Producer (Quillmere)");
    if (!info_.Date.empty()) {
        out.WriteLine("/CreationDate (" + info_.Date + ")");
        out.WriteLine("/ModDate (" + info_.Date + ")");
    }
    out.EndDictObject();
    out.ObjectFinished();
}

void TPDFNavigation::WriteObjects(TPDFObjectWriter& out, int32_t firstPageObject,
                                  int32_t rootObject,
                                  const std::vector<int32_t>& pageHeights) const {
    for (const TPDFLinkArea& area : links_) {
        if (out.Failed()) return;
        WriteAnnotation(out, area, firstPageObject, pageHeights);
    }
    for (size_t i = 0; i < outline_.size(); ++i) {
        if (out.Failed()) return;
        WriteOutlineItem(out, i, rootObject, firstPageObject, pageHeights);
    }
    if (infoObject_ != 0 && !out.Failed()) WriteInfo(out);
}

}  // namespace qm
