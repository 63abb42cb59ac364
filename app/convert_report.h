// What the converter reports about one input: the outcome, its reason in the program's own
// words, the page count, the time taken, the font faces that were substituted and what was left
// out.
#pragma once

#include <string>
#include <vector>

namespace qm {

enum class TConvertStatus { Converted, Refused, Failed, Timeout, Crashed };

struct TFontSubstitution {
    std::string Requested;
    std::string Used;
};

struct TConvertReport {
    std::string Input;
    std::string Output;
    TConvertStatus Status = TConvertStatus::Failed;
    std::string Reason;
    int Pages = 0;
    double Seconds = 0;
    std::vector<TFontSubstitution> Fonts;
    std::vector<std::string> Notices;  // what the PDF lacks, such as pictures left out
};

const char* StatusName(TConvertStatus status);
TConvertStatus StatusFromName(const std::string& name);

// One line of JSON, without a line end.
std::string ToJson(const TConvertReport& report);
// Parses what ToJson wrote (the batch's children send their reports this way). Returns false
// on anything else.
bool FromJson(const std::string& line, TConvertReport& report);

// The exit status of a run: 0 all converted, 1 some refused, 3 the converter failed on some
// (wins over 1).
int ExitStatusFor(const std::vector<TConvertReport>& reports);

}  // namespace qm
