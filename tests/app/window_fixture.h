// A main window with the desktop's services replaced: messages, the quit confirmation and the
// opening of files and addresses are recorded; the favourites live in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/window/main_form.h"

namespace qm {

struct TRecordedMessage {
    std::string Text;
    TMessageIcon Icon;
};

class TRecordingSink : public TMessageSink {
  public:
    void ShowMessage(std::string_view text, TMessageIcon icon) override {
        Messages.push_back({std::string(text), icon});
        if (During) During();
    }
    std::vector<TRecordedMessage> Messages;
    std::function<void()> During;  // runs while the message is "shown"
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid());
        ASSERT_TRUE(program_.isValid());
        TWindowServices services;
        services.Messages = &messages_;
        services.ConfirmQuit = [this] {
            ++quitQuestions_;
            return quitAnswer_;
        };
        services.OpenUrl = [this](const QUrl& url) { opened_.push_back(url); };
        services.AskPassword = [this](const QString& prompt) -> std::optional<QString> {
            prompts_.push_back(prompt);
            if (answers_.empty()) return std::nullopt;  // Cancel
            std::optional<QString> answer = answers_.front();
            answers_.pop_front();
            return answer;
        };
        services.ProgramDir = ProgramPath("").toStdString();
        services.FoldersFile = ProgramPath("folders.dat").toStdString();
        form_ = std::make_unique<TMainForm>(services);
    }
    void TearDown() override {
        quitAnswer_ = true;
        form_.reset();
    }

    // The documents' folders. The program's folder is another one: the folder tree lists the
    // program's folder at start, and a folder that the tree has listed learns of new entries
    // only later, through the file system watcher.
    QString Path(const QString& name) const { return temp_.filePath(name); }
    QString ProgramPath(const QString& name) const { return program_.path() + "/" + name; }

    // Creates a file (and its folder) holding `bytes`.
    QString MakeFile(const QString& name, const QByteArray& bytes = "not a Word file") {
        const QString path = Path(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    void ShowWindow() {
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }

    QTemporaryDir temp_;
    QTemporaryDir program_;
    TRecordingSink messages_;
    std::vector<QUrl> opened_;
    // The password questions asked, and the answers given in turn (nothing: Cancel).
    std::vector<QString> prompts_;
    std::deque<std::optional<QString>> answers_;
    int quitQuestions_ = 0;
    bool quitAnswer_ = true;
    std::unique_ptr<TMainForm> form_;
};

}  // namespace qm
