// The program's messages as message boxes with the information or the error icon. They have no
// caption of their own: the program's name stands in the title.
#pragma once

#include <QWidget>

#include "model/sinks.h"

namespace qm {

class TMessageBoxSink : public TMessageSink {
  public:
    explicit TMessageBoxSink(QWidget* owner) : owner_(owner) {}
    void ShowMessage(std::string_view text, TMessageIcon icon) override;

  private:
    QWidget* owner_;
};

// Hands each message on to a sink that can be changed, so that tests can take the messages.
class TMessageRelay : public TMessageSink {
  public:
    explicit TMessageRelay(TMessageSink* target) : target_(target) {}
    void ShowMessage(std::string_view text, TMessageIcon icon) override {
        if (target_ != nullptr) target_->ShowMessage(text, icon);
    }
    void SetTarget(TMessageSink* target) { target_ = target; }

  private:
    TMessageSink* target_;
};

}  // namespace qm
