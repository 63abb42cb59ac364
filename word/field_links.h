// The target of a field that links: HYPERLINK (an address, a bookmark of the document with
// \l, or both) and PAGEREF (the page of a bookmark), read from the field's code.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

struct TFieldTarget {
    std::string Uri;       // UTF-8; empty for a place in the document
    std::string Bookmark;  // UTF-8; used when Uri is empty
};

// The target of a field code such as HYPERLINK "http://x.org/" or HYPERLINK \l "_Toc1" or
// PAGEREF _Toc1 \h; nullopt for any other field or one without a target.
std::optional<TFieldTarget> FieldTarget(std::u32string_view code);

}  // namespace qm
