#include "app/convert_report.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace qm {

const char* StatusName(TConvertStatus status) {
    switch (status) {
        case TConvertStatus::Converted:
            return "converted";
        case TConvertStatus::Refused:
            return "refused";
        case TConvertStatus::Failed:
            return "failed";
        case TConvertStatus::Timeout:
            return "timeout";
        case TConvertStatus::Crashed:
            return "crashed";
    }
    return "failed";
}

TConvertStatus StatusFromName(const std::string& name) {
    for (auto s : {TConvertStatus::Converted, TConvertStatus::Refused, TConvertStatus::Failed,
                   TConvertStatus::Timeout, TConvertStatus::Crashed})
        if (name == StatusName(s)) return s;
    return TConvertStatus::Failed;
}

namespace {

// JSON string escaping; bytes of 0x80 and above pass through (file names are usually UTF-8).
void AppendString(std::string& out, const std::string& s) {
    out.push_back('"');
    for (unsigned char c : s) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    out.push_back('"');
}

// A minimal reader for the objects ToJson writes.
class TJsonReader {
  public:
    explicit TJsonReader(const std::string& s) : s_(s) {}
    bool Expect(char c) {
        Space();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Peek(char c) {
        Space();
        return pos_ < s_.size() && s_[pos_] == c;
    }
    bool String(std::string& out) {
        out.clear();
        if (!Expect('"')) return false;
        while (pos_ < s_.size() && s_[pos_] != '"') {
            char c = s_[pos_++];
            if (c == '\\' && pos_ < s_.size()) {
                const char e = s_[pos_++];
                if (e == 'n')
                    c = '\n';
                else if (e == 'r')
                    c = '\r';
                else if (e == 't')
                    c = '\t';
                else if (e == 'u' && pos_ + 4 <= s_.size()) {
                    c = static_cast<char>(std::strtol(s_.substr(pos_, 4).c_str(), nullptr, 16));
                    pos_ += 4;
                } else
                    c = e;
            }
            out.push_back(c);
        }
        return Expect('"');
    }
    bool Number(double& out) {
        Space();
        const char* start = s_.c_str() + pos_;
        char* end = nullptr;
        out = std::strtod(start, &end);
        if (end == start) return false;
        pos_ += static_cast<size_t>(end - start);
        return true;
    }

  private:
    void Space() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t'))
            ++pos_;
    }
    const std::string& s_;
    size_t pos_ = 0;
};

}  // namespace

std::string ToJson(const TConvertReport& r) {
    std::string out = "{\"input\":";
    AppendString(out, r.Input);
    out += ",\"output\":";
    AppendString(out, r.Output);
    out += ",\"status\":";
    AppendString(out, StatusName(r.Status));
    out += ",\"reason\":";
    AppendString(out, r.Reason);
    out += ",\"pages\":" + std::to_string(r.Pages);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", r.Seconds);
    out += ",\"seconds\":";
    out += seconds;
    out += ",\"fonts\":[";
    for (size_t i = 0; i < r.Fonts.size(); ++i) {
        if (i) out += ",";
        out += "{\"requested\":";
        AppendString(out, r.Fonts[i].Requested);
        out += ",\"used\":";
        AppendString(out, r.Fonts[i].Used);
        out += "}";
    }
    out += "],\"notices\":[";
    for (size_t i = 0; i < r.Notices.size(); ++i) {
        if (i) out += ",";
        AppendString(out, r.Notices[i]);
    }
    out += "]}";
    return out;
}

bool FromJson(const std::string& line, TConvertReport& r) {
    TJsonReader in(line);
    if (!in.Expect('{')) return false;
    r = TConvertReport{};
    while (!in.Peek('}')) {
        std::string key;
        if (!in.String(key) || !in.Expect(':')) return false;
        std::string text;
        double number = 0;
        if (key == "input" || key == "output" || key == "status" || key == "reason") {
            if (!in.String(text)) return false;
            if (key == "input")
                r.Input = text;
            else if (key == "output")
                r.Output = text;
            else if (key == "status")
                r.Status = StatusFromName(text);
            else
                r.Reason = text;
        } else if (key == "pages" || key == "seconds") {
            if (!in.Number(number)) return false;
            if (key == "pages")
                r.Pages = static_cast<int>(number);
            else
                r.Seconds = number;
        } else if (key == "fonts") {
            if (!in.Expect('[')) return false;
            while (!in.Peek(']')) {
                TFontSubstitution f;
                std::string k;
                if (!in.Expect('{') || !in.String(k) || !in.Expect(':') ||
                    !in.String(f.Requested) || !in.Expect(',') || !in.String(k) ||
                    !in.Expect(':') || !in.String(f.Used) || !in.Expect('}'))
                    return false;
                r.Fonts.push_back(f);
                in.Expect(',');
            }
            in.Expect(']');
        } else if (key == "notices") {
            if (!in.Expect('[')) return false;
            while (!in.Peek(']')) {
                if (!in.String(text)) return false;
                r.Notices.push_back(text);
                in.Expect(',');
            }
            in.Expect(']');
        } else {
            return false;
        }
        in.Expect(',');
    }
    return in.Expect('}');
}

int ExitStatusFor(const std::vector<TConvertReport>& reports) {
    int status = 0;
    for (const auto& r : reports) {
        if (r.Status == TConvertStatus::Refused)
            status = std::max(status, 1);
        else if (r.Status != TConvertStatus::Converted)
            status = 3;
    }
    return status;
}

}  // namespace qm
