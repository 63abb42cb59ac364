// How long work reports progress and how it tells the user about failures. The window paints
// a progress panel and shows message boxes; the command line prints; tests record.
#pragma once

#include <string_view>

namespace qm {

class TProgressSink {
public:
    virtual ~TProgressSink() = default;
    // Shows progress in percent, 0..100; 0 clears it.
    virtual void SetProStatus(int percent) = 0;
};

enum class TMessageIcon { Information, Error };

class TMessageSink {
public:
    virtual ~TMessageSink() = default;
    // Shows one of the program's fixed messages ("Can not open docfile!", ...).
    virtual void ShowMessage(std::string_view text, TMessageIcon icon) = 0;
};

}  // namespace qm
