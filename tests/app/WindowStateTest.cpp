#include "FakeDialogs.h"
#include "TestServices.h"
#include "app/MainWindow.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velkor {
namespace {

class StateTest : public ::testing::Test {
protected:
    // The right edge of the window's right-hand column: buttons, check boxes and the labels
    // above them (whose widths follow their texts).
    int RightColumnEdge() const {
        int right = 0;
        for (Control c : {Control::ZapisUstawien, Control::Button8, Control::Button7,
                          Control::OdczytUstawien, Control::Button6, Control::Button3,
                          Control::Button4, Control::CheckBox1, Control::CheckBox2, Control::Label8,
                          Control::Label7, Control::Label1, Control::Label9})
            right = std::max(right, window.Widget(c)->geometry().right() + 1);
        return right;
    }
    std::vector<Control> Enabled() const {
        std::vector<Control> result;
        for (const ControlLayout& c : ControlLayouts())
            if (window.IsControlEnabled(c.control))
                result.push_back(c.control);
        return result;
    }
    QProgressBar* Bar() const {
        return qobject_cast<QProgressBar*>(window.Widget(Control::ProgressBar1));
    }

    velkor::testing::FakeDialogs dialogs;
    velkor::testing::TestServices services;
    MainWindow window{dialogs, services.services, Language::Polish};
};

TEST_F(StateTest, LoggerWithHumidityEnablesInTheOrderOfReading) {
    window.OnLoggerFound(true);
    EXPECT_FALSE(window.IsControlEnabled(Control::OdczytUstawien));
    EXPECT_TRUE(window.IsControlEnabled(Control::CheckBox1));
    EXPECT_TRUE(window.IsControlEnabled(Control::CheckBox2));
    EXPECT_TRUE(window.SeriesActive(Series::Series2));

    window.OnClockTimeRead();
    EXPECT_TRUE(window.IsControlEnabled(Control::DateTimePicker7));
    EXPECT_FALSE(window.IsControlEnabled(Control::DateTimePicker6));
    window.OnClockDateRead();
    EXPECT_TRUE(window.IsControlEnabled(Control::DateTimePicker6));
    EXPECT_TRUE(window.IsControlEnabled(Control::Button1));
    EXPECT_FALSE(window.IsControlEnabled(Control::DateTimePicker1));
    window.OnIntervalRead();
    EXPECT_TRUE(window.IsControlEnabled(Control::DateTimePicker1));
    window.OnLoggingStartRead();
    EXPECT_TRUE(window.IsControlEnabled(Control::DateTimePicker2));
    EXPECT_TRUE(window.IsControlEnabled(Control::DateTimePicker3));
    EXPECT_FALSE(window.IsControlEnabled(Control::DateTimePicker4));
    window.OnLoggingEndRead();
    EXPECT_TRUE(window.IsControlEnabled(Control::DateTimePicker4));
    EXPECT_TRUE(window.IsControlEnabled(Control::DateTimePicker5));
    EXPECT_FALSE(window.IsControlEnabled(Control::Button7));
    window.OnSettingsRead();

    const std::vector<Control> expected = {
        Control::Button1,         Control::DateTimePicker7, Control::DateTimePicker6,
        Control::DateTimePicker2, Control::DateTimePicker3, Control::DateTimePicker4,
        Control::DateTimePicker5, Control::DateTimePicker1, Control::ZapisUstawien,
        Control::Button8,         Control::Button7,         Control::Button6,
        Control::CheckBox1,       Control::CheckBox2,       Control::ProgressBar1,
        Control::Chart1,          Control::Label8,          Control::Label7,
        Control::Label1,          Control::Label9,          Control::Label2,
        Control::Label3,          Control::Label4,          Control::Label5,
        Control::Label6};
    std::vector<Control> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Enabled(), sorted);
    EXPECT_EQ(window.size(), QSize(785, 536));
}

TEST_F(StateTest, LoggerWithoutHumidityDisablesTicksStayAndHumiditySeriesOff) {
    window.OnLoggerFound(false);
    EXPECT_FALSE(window.IsControlEnabled(Control::OdczytUstawien));
    EXPECT_FALSE(window.IsControlEnabled(Control::CheckBox1));
    EXPECT_FALSE(window.IsControlEnabled(Control::CheckBox2));
    EXPECT_TRUE(window.IsChecked(Control::CheckBox1));
    EXPECT_TRUE(window.IsChecked(Control::CheckBox2));
    EXPECT_TRUE(window.SeriesActive(Series::Series1));
    EXPECT_FALSE(window.SeriesActive(Series::Series2));
}

TEST_F(StateTest, DownloadShowsProgressThenShrinksTheWindow) {
    window.OnDownloadStarts(1000 / 25);
    EXPECT_TRUE(window.IsControlVisible(Control::ProgressBar1));
    EXPECT_EQ(Bar()->maximum(), 40);
    for (int block = 0; block < 40; ++block)
        window.SetProgressPosition(block);
    EXPECT_EQ(Bar()->value(), 39);
    EXPECT_EQ(window.size(), QSize(785, 536));

    window.OnDownloadFinished();
    EXPECT_FALSE(window.IsControlVisible(Control::ProgressBar1));
    EXPECT_FALSE(window.IsControlVisible(Control::Button5));
    for (Control c : {Control::Button3, Control::Button4, Control::Button5, Control::Button6})
        EXPECT_TRUE(window.IsControlEnabled(c)) << LayoutOf(c).name;
    EXPECT_FALSE(window.IsControlEnabled(Control::Button7));
    // The progress bar's row is gone: bottom at the lower edges of Button1 and ZapisUstawien,
    // right edge from the right-hand column.
    EXPECT_EQ(window.height(), 536 - 31);
    EXPECT_EQ(window.width(), RightColumnEdge());
    EXPECT_GE(window.width(), 777);
    EXPECT_LT(window.width(), 785);

    // A later download brings the row back.
    window.OnDownloadStarts(0);
    EXPECT_EQ(window.size(), QSize(785, 536));
}

TEST_F(StateTest, EmptyDownloadShowsAnEmptyBarNotABusyOne) {
    window.OnDownloadStarts(10 / 25);
    window.SetProgressPosition(0);
    EXPECT_EQ(window.ProgressMaximum(), 0);
    EXPECT_GT(Bar()->maximum(), Bar()->minimum());
    EXPECT_EQ(Bar()->value(), 0);
}

TEST_F(StateTest, EraseProgressIsFullFromPosition200) {
    window.OnEraseConfirmed();
    EXPECT_TRUE(window.IsControlVisible(Control::ProgressBar1));
    EXPECT_EQ(window.ProgressMaximum(), 200);
    window.SetProgressPosition(150);
    EXPECT_EQ(Bar()->value(), 150);
    window.SetProgressPosition(450);
    EXPECT_EQ(window.ProgressPosition(), 450);
    EXPECT_EQ(Bar()->value(), 200);
    window.OnEraseFinished();
    EXPECT_FALSE(window.IsControlVisible(Control::ProgressBar1));
    EXPECT_EQ(window.height(), 505);
}

TEST_F(StateTest, DeclinedEraseHidesTheBarShownSinceStart) {
    const auto before = Enabled();
    window.OnEraseFinished();
    EXPECT_FALSE(window.IsControlVisible(Control::ProgressBar1));
    EXPECT_EQ(window.height(), 505);
    EXPECT_EQ(Enabled(), before);
}

TEST_F(StateTest, LoadedFileWithoutLogger) {
    window.OnFileLoaded();
    EXPECT_TRUE(window.IsControlEnabled(Control::Button3));
    EXPECT_TRUE(window.IsControlEnabled(Control::Button4));
    EXPECT_TRUE(window.IsControlEnabled(Control::Button5));
    EXPECT_FALSE(window.IsControlVisible(Control::Button5));
    EXPECT_FALSE(window.IsControlEnabled(Control::Button7));
    EXPECT_TRUE(window.IsControlVisible(Control::ProgressBar1));
    EXPECT_EQ(window.size(), QSize(785, 536));
}

TEST_F(StateTest, WindowFollowsALabelThatGrowsAndShrinks) {
    window.OnEraseFinished();
    const QPoint corner = window.pos();
    const QSize small = window.size();
    window.SetControlText(Control::Label7, "Identyfikator: RTW01234 with a long tail of text");
    auto* label = window.Widget(Control::Label7);
    EXPECT_GT(label->geometry().right() + 1, 785);
    EXPECT_EQ(window.width(), label->geometry().right() + 1);
    EXPECT_EQ(window.height(), 505);
    window.SetControlText(Control::Label7, "Identyfikator:");
    EXPECT_EQ(window.size(), small);
    EXPECT_EQ(window.pos(), corner);
}

TEST_F(StateTest, GenericShowHideAndTexts) {
    window.SetControlVisible(Control::Label9, false);
    EXPECT_FALSE(window.IsControlVisible(Control::Label9));
    window.SetControlVisible(Control::Label9, true);
    window.SetControlText(Control::Label9, "Znaleziono");
    EXPECT_EQ(window.ControlText(Control::Label9), "Znaleziono");
    window.SetControlText(Control::Button7, "x");
    EXPECT_EQ(window.ControlText(Control::Button7), "x");
    window.SetCaption("Inny");
    EXPECT_EQ(window.windowTitle(), "Inny");
    window.SetControlEnabled(Control::Button7, true);
    EXPECT_TRUE(window.IsControlEnabled(Control::Button7));
}

TEST_F(StateTest, ProcessPendingEventsRunsWhatWaits) {
    bool ran = false;
    QTimer::singleShot(0, &window, [&] { ran = true; });
    window.ProcessPendingEvents();
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace velkor
