// The real boxes and the save dialog, driven as a user would: what a box shows, the name the
// save dialog gives back after a filter was picked, and its question before a file is replaced.
#include "platform/Dialogs.h"
#include "tests/support/TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace velkor {
namespace {

// Runs `act` on the modal dialog the next `open` shows, once it is up.
void OnModal(const std::function<void(QWidget&)>& act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(*modal);
    });
}

struct Shown {
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Opens a box through QtDialogs and notes what it shows before pressing its first button.
Shown ShowBox(const std::function<void(QtDialogs&)>& open) {
    Shown shown;
    OnModal([&shown](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        shown = {box->text(), box->textFormat(), box->icon()};
        box->buttons().first()->click();
    });
    QtDialogs dialogs(nullptr);
    open(dialogs);
    return shown;
}

TEST(BoxText, EscapesControlCharactersAndKeepsLineEnds) {
    const struct {
        QString text, shown;
    } cases[] = {
        {QString::fromUtf16(u"'\0x' is not a valid integer value", 33),
         "'\\x00x' is not a valid integer value"},
        {"a\x01\x1b[0m\x7f", "a\\x01\\x1b[0m\\x7f"},
        {QString::fromUtf16(u"\u0085NEL"), "\\x85NEL"},
        {"RTW01234\r", "RTW01234\r"}, // the logger's reply ends with CR
        {"one\r\ntwo\nthree\tfour", "one\r\ntwo\nthree\tfour"},
        {"a\rb", "a\\x0db"}, // a CR inside a line would overwrite it
        {"RT<h1>W</h1> zażółć", "RT<h1>W</h1> zażółć"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BoxText(c.text), c.shown) << c.shown.toStdString();
}

// Markup is shown as it is written and a zero byte does not end the text, in every box.
TEST(QtDialogs, BoxesShowPlainEscapedText) {
    const QString text = QString::fromUtf16(u"RT<h1>W</h1>\0tail", 17);
    const QString expected = "RT<h1>W</h1>\\x00tail";
    const struct {
        std::function<void(QtDialogs&)> open;
        QMessageBox::Icon icon;
    } boxes[] = {
        {[&](QtDialogs& d) { d.message(text, "c"); }, QMessageBox::NoIcon},
        {[&](QtDialogs& d) { d.askYesNo(text, "c"); }, QMessageBox::NoIcon},
        {[&](QtDialogs& d) { d.error(text, "c"); }, QMessageBox::Critical},
    };
    for (const auto& box : boxes) {
        const Shown shown = ShowBox(box.open);
        EXPECT_EQ(shown.text, expected);
        EXPECT_EQ(shown.format, Qt::PlainText);
        EXPECT_EQ(shown.icon, box.icon);
    }
}

// The save dialog through its public API: "All Files" keeps the name typed ("All Files (*.*)"
// once made "logger.*" of it), "Text Files" gives it .txt, and an existing file is replaced only
// after a question.
TEST(QtDialogs, SaveDialogKeepsTheNameUnderAllFilesAndAsksBeforeReplacing) {
    testing::TempFolder folder;
    folder.file("stary.txt", "old");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.path().string())));
    const struct {
        const char* typed;
        int filter; // picked last: 0 Text Files, 1 All Files
        const char* chosen;
        bool asked; // a question about replacing came up (and was answered No)
    } cases[] = {
        {"pomiary.csv", 1, "pomiary.csv", false}, {"pomiary", 1, "pomiary", false},
        {"pomiary.csv", 0, "pomiary.txt", false}, {"pomiary", 0, "pomiary.txt", false},
        {"stary.txt", 1, nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        bool asked = false;
        OnModal([&](QWidget& modal) {
            auto& dialog = static_cast<QFileDialog&>(modal);
            const QStringList filters = dialog.nameFilters();
            ASSERT_EQ(filters, (QStringList{"Text Files (*.txt)", "All Files (*)"}));
            dialog.selectFile(c.typed);
            // Picked as a user picks it (Text Files is the current one).
            dialog.selectNameFilter(filters[c.filter]);
            emit dialog.filterSelected(filters[c.filter]);
            // A question that comes up is answered No; the timer ends with this call.
            QTimer answer;
            answer.setSingleShot(true);
            QObject::connect(&answer, &QTimer::timeout, [&asked] {
                auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                asked = question != nullptr;
                if (question)
                    question->button(QMessageBox::No)->click();
            });
            answer.start(0);
            static_cast<QDialog&>(dialog).accept(); // as the Save button does
            if (dialog.isVisible())
                dialog.reject();
        });
        QtDialogs dialogs(nullptr);
        QString chosen;
        const bool confirmed =
            dialogs.saveFile({"logger.txt", "Text Files|*.txt|All Files|*.*"}, chosen);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(confirmed, c.chosen != nullptr);
        if (c.chosen) {
            EXPECT_EQ(QFileInfo(chosen).fileName(), c.chosen);
        }
    }
    QDir::setCurrent(previous);
}

} // namespace
} // namespace velkor
