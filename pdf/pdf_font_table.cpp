#include "pdf/pdf_font_table.h"

#include "pdf/pdf_fonts.h"
#include "pdf/pdf_number.h"

namespace qm {

int32_t TPDFFontTable::FindOrAddSlow(std::string_view name, uint8_t style, TPDFFontKind kind) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].Matches(name, style, kind)) {
            lastFound_ = i;
            return static_cast<int32_t>(i + 1);
        }
    }
    entries_.push_back(TPDFFontEntry{std::string(name), style, kind});
    lastFound_ = entries_.size() - 1;
    return static_cast<int32_t>(entries_.size());
}

int32_t TPDFFontTable::ObjectsOf(TPDFFontKind kind) {
    switch (kind) {
        case TPDFFontKind::WinAnsi:
            return 1;
    }
    return 1;
}

int32_t TPDFFontTable::ObjectCount() const {
    int32_t count = 0;
    for (const TPDFFontEntry& entry : entries_)
        count += ObjectsOf(entry.Kind);
    return count;
}

void TPDFFontTable::AppendResources(std::string& out, int32_t firstObject) const {
    int64_t object = firstObject;
    for (size_t k = 1; k <= entries_.size(); ++k) {
        out += "/F";
        AppendInt(out, static_cast<int64_t>(k));
        out += ' ';
        AppendInt(out, object);
        out += " 0 R";
        object += ObjectsOf(entries_[k - 1].Kind);
    }
}

void TPDFFontTable::WriteObjects(TPDFObjectWriter& out) const {
    for (const TPDFFontEntry& entry : entries_) {
        switch (entry.Kind) {
            case TPDFFontKind::WinAnsi:
                WriteWinAnsiFontObject(out, entry.Name, entry.Style);
                break;
        }
        out.ObjectFinished();
    }
}

void TPDFFontTable::Clear() {
    entries_.clear();
    lastFound_ = 0;
}

}  // namespace qm
