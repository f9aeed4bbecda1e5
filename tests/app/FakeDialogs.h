#pragma once
// Dialogs that record what the window asks and answer as the test scripted.

#include "platform/Dialogs.h"

#include <QString>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <vector>

// Failing expectations show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace velkor::test {

struct Box {
    QString text;
    QString caption;
};

class FakeDialogs final : public Dialogs {
public:
    void message(const QString& text, const QString& caption) override {
        messages.push_back({text, caption});
        if (onMessage)
            onMessage();
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
    bool openFile(const FileDialogOptions& options, QString& fileName) override {
        openOptions.push_back(options);
        fileName = chosenFile;
        return confirm;
    }
    bool saveFile(const FileDialogOptions& options, QString& fileName) override {
        saveOptions.push_back(options);
        fileName = chosenFile;
        if (options.chosenFilter)
            *options.chosenFilter = chosenFilter;
        return confirm;
    }
    // The user's choices in the print dialog are onPrint's to make on the printer.
    bool print(QPrinter& printer) override {
        printers.push_back(&printer);
        if (onPrint)
            onPrint(printer);
        return confirm;
    }

    std::vector<Box> messages, questions, errors;
    std::vector<FileDialogOptions> openOptions, saveOptions;
    std::vector<QPrinter*> printers;
    std::function<void(QPrinter&)> onPrint;
    // Called as each message box is shown.
    std::function<void()> onMessage;
    bool answerYes = true;
    bool confirm = true;
    bool failOnError = false;
    QString chosenFile;
    int chosenFilter = 0; // the save dialog's filter, for callers that ask
};

} // namespace velkor::test
