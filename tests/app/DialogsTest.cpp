// The real boxes and the save dialog, driven as a user would: what a box shows, and the name the
// save dialog gives back after another filter was picked.
#include "platform/Dialogs.h"
#include "tests/platform/TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
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

// Picking a filter leaves the name alone: "All Files (*.*)" once made "logger.*" of it.
TEST(QtDialogs, SaveDialogKeepsTheNameWhateverFilterIsPicked) {
    testing::TempFolder folder;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.path().string())));
    for (const char* typed : {"logger.txt", "pomiary.csv"}) {
        QString seenAfterPick;
        OnModal([&](QWidget& modal) {
            auto* filters = modal.findChild<QComboBox*>("fileTypeCombo");
            auto* name = modal.findChild<QLineEdit*>("fileNameEdit");
            ASSERT_TRUE(filters && name);
            name->setText(typed);
            // Down picks the next filter as a click in its list does; then back up.
            QTest::keyClick(filters, Qt::Key_Down);
            ASSERT_EQ(filters->currentIndex(), 1);
            seenAfterPick = name->text();
            QTest::keyClick(filters, Qt::Key_Up);
            QTest::keyClick(filters, Qt::Key_Down);
            static_cast<QDialog&>(modal).accept();
        });
        QtDialogs dialogs(nullptr);
        QString chosen;
        ASSERT_TRUE(dialogs.saveFile({"logger.txt", "Text Files|*.txt|All Files|*.*"}, chosen));
        EXPECT_EQ(seenAfterPick, typed);
        EXPECT_EQ(QFileInfo(chosen).fileName(), typed);
    }
    QDir::setCurrent(previous);
}

} // namespace
} // namespace velkor
