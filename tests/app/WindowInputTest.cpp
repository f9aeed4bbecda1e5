// The window's keys (Ctrl+O, Ctrl+S, Ctrl+P, Ctrl+Q, Shift+F10 and the menu key) and a data
// file dropped on it from a file manager.
#include "LoggerWindow.h"
#include "chart/ChartWidget.h"
#include "tests/support/TempFolder.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <functional>

namespace velkor {
namespace {

class WindowInput : public testing::LoggerWindow {
protected:
    void SetUp() override {
        Open().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // Every dialog is cancelled: what counts is that the key asked for it.
        dialogs.confirm = false;
    }
    QMenu* ChartMenu() const { return window->Chart1().findChild<QMenu*>("ChartMenu"); }
};

// Each key does what its button does, and nothing while the button is disabled.
TEST_F(WindowInput, KeysClickTheirButtonsOnlyWhenEnabled) {
    const struct {
        Qt::Key key;
        Control button;
        std::function<std::size_t(const testing::FakeDialogs&)> asked;
    } cases[] = {
        {Qt::Key_O, Control::Button6, [](const auto& d) { return d.openOptions.size(); }},
        {Qt::Key_S, Control::Button3, [](const auto& d) { return d.saveOptions.size(); }},
        {Qt::Key_P, Control::Button4, [](const auto& d) { return d.printers.size(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(LayoutOf(c.button).name);
        const std::size_t before = c.asked(dialogs);
        window->SetControlEnabled(c.button, false);
        QTest::keyClick(window.get(), c.key, Qt::ControlModifier);
        EXPECT_EQ(c.asked(dialogs), before);
        window->SetControlEnabled(c.button, true);
        QTest::keyClick(window.get(), c.key, Qt::ControlModifier);
        EXPECT_EQ(c.asked(dialogs), before + 1);
    }
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(WindowInput, ShiftF10AndTheMenuKeyOpenTheChartMenu) {
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_F10, Qt::ShiftModifier}, std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
        window->SetControlEnabled(Control::Chart1, false);
        QTest::keyClick(window.get(), key, modifiers);
        EXPECT_TRUE(!ChartMenu() || !ChartMenu()->isVisible());
        window->SetControlEnabled(Control::Chart1, true);
        QTest::keyClick(window.get(), key, modifiers);
        ASSERT_NE(ChartMenu(), nullptr);
        EXPECT_TRUE(ChartMenu()->isVisible());
        // On the chart.
        EXPECT_TRUE(QRect(window->Chart1().mapToGlobal(QPoint(0, 0)), window->Chart1().size())
                        .contains(ChartMenu()->pos()));
        ChartMenu()->close();
    }
}

TEST_F(WindowInput, CtrlQCloses) {
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

// A file dropped loads as with Odczytaj z pliku; a drop of several files, or while the button is
// disabled, is refused.
TEST_F(WindowInput, ADroppedDataFileLoadsAsTheButtonLoadsIt) {
    testing::TempFolder folder;
    const QString file = QString::fromStdString((folder / "pomiary.txt").string());
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("1\t2024-01-01 00:00:00\t+021.5\t45.3\r\n"
              "2\t2024-01-01 00:10:00\t-000.1\t0.5\r\n"
              "3\t2024-01-01 00:20:00\t+020.7\t42.3\r\n"
              "4\t2024-01-01 00:30:00\t+020.9\t42.0\r\n");
    out.close();

    const auto drop = [this](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &dropped);
        return dropped.isAccepted();
    };
    const QUrl url = QUrl::fromLocalFile(file);
    window->SetControlEnabled(Control::Button6, false);
    EXPECT_FALSE(drop({url}));
    window->SetControlEnabled(Control::Button6, true);
    EXPECT_FALSE(drop({url, url}));
    EXPECT_FALSE(drop({QUrl("https://example.invalid/logger.txt")}));
    EXPECT_EQ(window->Chart1().Chart().Series(0).Count(), 0u);

    EXPECT_TRUE(drop({url}));
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(services.dataFile.DataFileName, file.toStdString());
    // The first two lines are skipped, as the button's load skips them.
    EXPECT_EQ(window->Chart1().Chart().Series(0).Count(), 2u);
    EXPECT_TRUE(window->IsControlEnabled(Control::Button4));
    // No dialog was asked.
    EXPECT_TRUE(dialogs.openOptions.empty());
}

} // namespace
} // namespace velkor
