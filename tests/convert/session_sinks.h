// A conversion session whose progress and messages are kept for the end-to-end tests to read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/conversion_session.h"

namespace qm::test {

class TQuietProgress : public TProgressSink {
  public:
    void SetProStatus(int percent) override { Last = percent; }
    int Last = -1;
};

class TRecordedMessages : public TMessageSink {
  public:
    void ShowMessage(std::string_view text, TMessageIcon) override { Shown.emplace_back(text); }
    std::vector<std::string> Shown;
};

struct TOpenedSession {
    TQuietProgress progress;
    TRecordedMessages messages;
    TConversionSession session{progress, messages};
};

}  // namespace qm::test
