#include "word/list_numbering.h"

#include <algorithm>
#include <cctype>

namespace qm {

namespace {

constexpr uint8_t kNfcDecimal = 0;
constexpr uint8_t kNfcUpperRoman = 1;
constexpr uint8_t kNfcLowerRoman = 2;
constexpr uint8_t kNfcUpperLetter = 3;
constexpr uint8_t kNfcLowerLetter = 4;
constexpr uint8_t kNfcOrdinal = 5;
constexpr uint8_t kNfcDecimalZero = 22;
constexpr uint8_t kNfcBullet = 23;
constexpr uint8_t kNfcNone = 255;
constexpr int32_t kMaxRoman = 3999;
// A letter number repeats its letter once per round of the alphabet: a bound on the repeats.
constexpr int32_t kMaxLetterRepeats = 32;

std::u32string Ascii(const std::string& text) {
    return std::u32string(text.begin(), text.end());
}

std::u32string Roman(int32_t number, bool upper) {
    static constexpr std::pair<int32_t, const char*> kParts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    std::string text;
    for (const auto& [value, letters] : kParts) {
        for (; number >= value; number -= value)
            text += letters;
    }
    if (upper) std::transform(text.begin(), text.end(), text.begin(), ::toupper);
    return Ascii(text);
}

std::u32string Letters(int32_t number, bool upper) {
    const char32_t letter = (upper ? U'A' : U'a') + static_cast<char32_t>((number - 1) % 26);
    const int32_t repeats = std::min((number - 1) / 26 + 1, kMaxLetterRepeats);
    return std::u32string(static_cast<size_t>(repeats), letter);
}

std::u32string Ordinal(int32_t number) {
    const int32_t lastTwo = number % 100;
    const int32_t last = number % 10;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        if (last == 1) suffix = "st";
        if (last == 2) suffix = "nd";
        if (last == 3) suffix = "rd";
    }
    std::string text = std::to_string(number);
    text.append(suffix);
    return Ascii(text);
}

// Appends the UTF-16 number text's character at i, joining a surrogate pair.
size_t AppendUnit(const std::u16string& text, size_t i, std::u32string& out) {
    const char32_t unit = text[i];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
        out += 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        return i + 2;
    }
    out += unit;
    return i + 1;
}

}  // namespace

std::u32string FormatListNumber(int32_t number, uint8_t nfc) {
    const bool positive = number > 0;
    switch (nfc) {
        case kNfcUpperRoman:
        case kNfcLowerRoman:
            if (positive && number <= kMaxRoman) return Roman(number, nfc == kNfcUpperRoman);
            break;
        case kNfcUpperLetter:
        case kNfcLowerLetter:
            if (positive) return Letters(number, nfc == kNfcUpperLetter);
            break;
        case kNfcOrdinal:
            if (positive) return Ordinal(number);
            break;
        case kNfcDecimalZero:
            if (number >= 0 && number < 10) return {U'0', static_cast<char32_t>(U'0' + number)};
            break;
        case kNfcBullet:
        case kNfcNone:
            return {};
        default:
            break;
    }
    return Ascii(std::to_string(number));
}

int32_t TListNumbering::StartAt(uint16_t ilfo, uint8_t ilvl) const {
    if (const TListOverride* over = tables_.OverrideOf(ilfo)) {
        for (const TLevelOverride& level : over->Levels) {
            if (level.Level == ilvl && level.StartAt) return *level.StartAt;
        }
    }
    const TListLevel* level = tables_.LevelOf(ilfo, ilvl);
    return level ? level->StartAt : 1;
}

void TListNumbering::Count(TCounters& counters, uint16_t ilfo, uint8_t ilvl) {
    bool overridden = false;
    if (const TListOverride* over = tables_.OverrideOf(ilfo)) {
        overridden =
            std::any_of(over->Levels.begin(), over->Levels.end(),
                        [&](const TLevelOverride& l) { return l.Level == ilvl && l.StartAt; });
    }
    // An override's start-at begins the list again where the override is first used.
    const bool freshStart = overridden && startsTaken_.insert({ilfo, ilvl}).second;
    int32_t& number = counters.Number[ilvl];
    if (freshStart || !counters.Counted[ilvl]) {
        number = StartAt(ilfo, ilvl);
    } else if (number < INT32_MAX) {
        ++number;
    }
    counters.Counted[ilvl] = true;
}

void TListNumbering::RestartBelow(TCounters& counters, uint16_t ilfo, uint8_t ilvl) const {
    for (size_t l = ilvl + 1; l < kListLevels; ++l) {
        const TListLevel* level = tables_.LevelOf(ilfo, static_cast<uint8_t>(l));
        // Without the old flag a level restarts after any more significant one; with it, only
        // after those above its restart limit.
        const bool restarts = !level || !level->NoRestart || ilvl < level->RestartLim;
        if (restarts) counters.Counted[l] = false;
    }
}

std::u32string TListNumbering::NumberText(const TCounters& counters, uint16_t ilfo,
                                          uint8_t ilvl) const {
    const TListLevel* own = tables_.LevelOf(ilfo, ilvl);
    std::u32string text;
    const std::u16string& pattern = own->NumberText;
    for (size_t i = 0; i < pattern.size();) {
        const char16_t unit = pattern[i];
        if (unit >= kListLevels || own->Nfc == kNfcBullet) {
            i = AppendUnit(pattern, i, text);
            continue;
        }
        ++i;
        const TListLevel* named = tables_.LevelOf(ilfo, static_cast<uint8_t>(unit));
        const int32_t number = counters.Counted[unit] ? counters.Number[unit]
                                                      : StartAt(ilfo, static_cast<uint8_t>(unit));
        uint8_t nfc = named ? named->Nfc : kNfcDecimal;
        if (own->Legal && nfc != kNfcNone) nfc = kNfcDecimal;
        text += FormatListNumber(number, nfc);
    }
    return text;
}

std::optional<TListLabel> TListNumbering::Next(uint16_t ilfo, uint8_t ilvl) {
    const TListDefinition* list = tables_.ListOf(ilfo);
    if (!list || list->Levels.empty()) return std::nullopt;
    ilvl = static_cast<uint8_t>(std::min<size_t>(ilvl, list->Levels.size() - 1));
    TCounters& counters = counters_[list->Lsid];
    Count(counters, ilfo, ilvl);
    RestartBelow(counters, ilfo, ilvl);
    TListLabel label;
    label.Level = tables_.LevelOf(ilfo, ilvl);
    label.Follow = label.Level->Follow;
    label.Text = NumberText(counters, ilfo, ilvl);
    return label;
}

}  // namespace qm
