#pragma once
// Dialogs that record what the window asks and answer as the test scripted.

#include "platform/Dialogs.h"

#include <QString>

#include <stdexcept>
#include <vector>

namespace velkor::test {

struct Box {
    QString text;
    QString caption;
};

class FakeDialogs final : public Dialogs {
public:
    void message(const QString& text, const QString& caption) override {
        messages.push_back({text, caption});
    }
    bool askYesNo(const QString& text, const QString& caption) override {
        questions.push_back({text, caption});
        return answerYes;
    }
    void error(const QString& text, const QString& caption) override {
        errors.push_back({text, caption});
        if (failOnError)
            throw std::runtime_error("the error box failed too");
    }
    bool openFile(const FileDialogOptions&, QString& fileName) override {
        fileName = chosenFile;
        return confirm;
    }
    bool saveFile(const FileDialogOptions&, QString& fileName) override {
        fileName = chosenFile;
        return confirm;
    }
    bool print(QPrinter&) override { return confirm; }

    std::vector<Box> messages, questions, errors;
    bool answerYes = true;
    bool confirm = true;
    bool failOnError = false;
    QString chosenFile;
};

} // namespace velkor::test
