#include "word/field_links.h"

#include <vector>

#include "word/utf8.h"

namespace qm {

namespace {

struct TToken {
    std::u32string Text;
    bool Switch = false;  // \l, \h, ...
};

bool Space(char32_t c) {
    return c == ' ' || c == '\t' || c == 0xA0;
}

// A quoted argument: inside quotes a backslash takes the next character as it is, so that
// "C:\\dir" names C:\dir and \" stands for a quote.
size_t ReadQuoted(std::u32string_view code, size_t i, std::u32string& out) {
    for (++i; i < code.size() && code[i] != '"'; ++i) {
        if (code[i] == '\\' && i + 1 < code.size()) ++i;
        out.push_back(code[i]);
    }
    return i < code.size() ? i + 1 : i;
}

std::vector<TToken> Tokens(std::u32string_view code) {
    std::vector<TToken> tokens;
    size_t i = 0;
    while (i < code.size()) {
        if (Space(code[i])) {
            ++i;
            continue;
        }
        TToken token;
        if (code[i] == '"') {
            i = ReadQuoted(code, i, token.Text);
        } else {
            token.Switch = code[i] == '\\';
            for (; i < code.size() && !Space(code[i]) && code[i] != '"'; ++i)
                token.Text.push_back(code[i]);
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

bool SameWord(std::u32string_view a, std::u32string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char32_t x = a[i] >= 'a' && a[i] <= 'z' ? a[i] - 32 : a[i];
        if (x != b[i]) return false;
    }
    return true;
}

std::optional<TFieldTarget> HyperlinkTarget(const std::vector<TToken>& tokens) {
    TFieldTarget target;
    std::u32string address;
    std::u32string bookmark;
    for (size_t i = 1; i < tokens.size(); ++i) {
        const TToken& t = tokens[i];
        if (!t.Switch) {
            if (address.empty()) address = t.Text;
            continue;
        }
        // \l names the bookmark; \o (tip) and \t (frame) take an argument that is no target.
        const bool takesArgument =
            SameWord(t.Text, U"\\L") || SameWord(t.Text, U"\\O") || SameWord(t.Text, U"\\T");
        if (takesArgument && i + 1 < tokens.size()) {
            if (SameWord(t.Text, U"\\L")) bookmark = tokens[i + 1].Text;
            ++i;
        }
    }
    if (!address.empty()) {
        target.Uri = ToUtf8(address);
        if (!bookmark.empty()) {
            target.Uri.push_back('#');
            target.Uri.append(ToUtf8(bookmark));
        }
    } else if (!bookmark.empty()) {
        target.Bookmark = ToUtf8(bookmark);
    } else {
        return std::nullopt;
    }
    return target;
}

}  // namespace

std::optional<TFieldTarget> FieldTarget(std::u32string_view code) {
    const std::vector<TToken> tokens = Tokens(code);
    if (tokens.empty() || tokens[0].Switch) return std::nullopt;
    if (SameWord(tokens[0].Text, U"HYPERLINK")) return HyperlinkTarget(tokens);
    if (SameWord(tokens[0].Text, U"PAGEREF")) {
        for (size_t i = 1; i < tokens.size(); ++i) {
            if (!tokens[i].Switch) return TFieldTarget{{}, ToUtf8(tokens[i].Text)};
        }
    }
    return std::nullopt;
}

}  // namespace qm
