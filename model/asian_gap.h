// The extra space Word leaves where East Asian text meets Latin letters or digits in a paragraph
// that asks for it, so that a word or number set among ideographs stands apart from them.
#pragma once

#include "model/document.h"

namespace qm {

// Han ideographs, kana, Hangul, Bopomofo, CJK symbols and the fullwidth and halfwidth forms.
bool IsEastAsian(char32_t code);

// The space in mm that follows `before` when `after` comes next in a paragraph of format para:
// a fifth of the larger of the two characters' font sizes where one of them is East Asian and the
// other a Latin letter (para.AsianLatinGap) or a digit (para.AsianDigitGap); else 0.
double AsianGapMm(const TDocument& doc, const TParaFormat& para, const TCharRec& before,
                  const TCharRec& after);

}  // namespace qm
