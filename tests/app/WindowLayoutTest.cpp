#include "FakeDialogs.h"
#include "TestServices.h"
#include "app/MainWindow.h"
#include "chart/ChartWidget.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace velkor {
namespace {

class LayoutTest : public ::testing::Test {
protected:
    velkor::testing::FakeDialogs dialogs;
    velkor::testing::TestServices services;
    MainWindow window{dialogs, services.services, Language::Polish};
};

struct Place {
    const char* name;
    int left, top, width, height;
};

TEST_F(LayoutTest, EveryControlAtItsPlace) {
    const Place places[] = {
        {"Chart1", 0, 0, 665, 449},
        {"Button1", 56, 488, 121, 17},
        {"DateTimePicker7", 160, 456, 73, 21},
        {"DateTimePicker6", 40, 456, 81, 21},
        {"DateTimePicker2", 256, 480, 81, 21},
        {"DateTimePicker3", 336, 480, 73, 21},
        {"DateTimePicker4", 424, 480, 81, 21},
        {"DateTimePicker5", 504, 480, 73, 21},
        {"DateTimePicker1", 592, 480, 73, 21},
        {"ZapisUstawien", 680, 480, 97, 25},
        {"Button8", 680, 424, 89, 25},
        {"Button7", 680, 392, 89, 25},
        {"OdczytUstawien", 680, 320, 89, 49},
        {"Button6", 680, 224, 89, 25},
        {"Button3", 680, 192, 89, 25},
        {"Button4", 680, 136, 89, 25},
        {"Button5", 680, 104, 89, 25},
        {"CheckBox1", 680, 264, 97, 17},
        {"CheckBox2", 680, 288, 97, 17},
        {"ProgressBar1", 8, 520, 777, 16},
    };
    for (const Place& p : places) {
        auto* w = window.findChild<QWidget*>(p.name);
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;
    }
    EXPECT_NE(qobject_cast<QPushButton*>(window.Widget(Control::OdczytUstawien)), nullptr);
    EXPECT_NE(qobject_cast<QCheckBox*>(window.Widget(Control::CheckBox2)), nullptr);
    EXPECT_NE(qobject_cast<QProgressBar*>(window.Widget(Control::ProgressBar1)), nullptr);
}

TEST_F(LayoutTest, LabelsKeepTheirCornerAndFitTheirText) {
    const Place labels[] = {
        {"Label8", 696, 8, 0, 0},   {"Label7", 672, 32, 0, 0},  {"Label1", 672, 56, 0, 0},
        {"Label9", 672, 80, 0, 0},  {"Label2", 8, 464, 0, 0},   {"Label3", 128, 464, 0, 0},
        {"Label4", 264, 456, 0, 0}, {"Label5", 448, 456, 0, 0}, {"Label6", 592, 456, 0, 0},
    };
    for (const Place& p : labels) {
        auto* label = window.findChild<QLabel*>(p.name);
        ASSERT_NE(label, nullptr) << p.name;
        EXPECT_EQ(label->pos(), QPoint(p.left, p.top)) << p.name;
        EXPECT_GE(label->height(), 13) << p.name;
        const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_GE(label->width(), textWidth) << p.name;
        EXPECT_LE(label->width(), textWidth + 2) << p.name;
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << p.name;
    }
}

TEST_F(LayoutTest, ClientAreaAtStartIsTheProgressBarsCorner) {
    EXPECT_EQ(window.size(), QSize(785, 536));
    EXPECT_EQ(window.windowTitle(), "Velkor");
    EXPECT_EQ(window.objectName(), "Form1");
}

// The user enlarges the window: the chart grows by as much, the controls right of the chart keep
// their distance to the right edge, those below it their distance to the bottom edge, and the
// progress bar stretches with the width. Back at the automatic size, all is as in the table.
TEST_F(LayoutTest, AnEnlargedWindowGrowsTheChart) {
    window.show();
    for (const QSize size :
         {QSize(1000, 700), QSize(785, 900), QSize(1280, 536), QSize(785, 536)}) {
        window.resize(size);
        ASSERT_EQ(window.size(), size);
        const int dx = size.width() - 785, dy = size.height() - 536;
        for (const ControlLayout& c : ControlLayouts()) {
            const QRect place = window.Widget(c.control)->geometry();
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(size.width()) + "x" +
                         std::to_string(size.height()));
            EXPECT_EQ(place.x(), c.left + (c.left >= 665 ? dx : 0));
            EXPECT_EQ(place.y(), c.top + (c.top >= 449 ? dy : 0));
            if (c.kind == ControlKind::Label)
                continue;
            const bool chart = c.control == Control::Chart1;
            EXPECT_EQ(place.width(),
                      c.width + (chart || c.control == Control::ProgressBar1 ? dx : 0));
            EXPECT_EQ(place.height(), c.height + (chart ? dy : 0));
        }
    }
    EXPECT_EQ(window.minimumSize(), QSize(785, 536));
}

// The progress bar's row comes and goes: a window at its automatic size follows it, as the
// layout wants; an enlarged window keeps its size and gives the row to the chart.
TEST_F(LayoutTest, TheProgressBarsRowAndTheWindowsSize) {
    window.show();
    // Without the bar the right edge is the right-hand column's, which depends on the font.
    window.SetControlVisible(Control::ProgressBar1, false);
    const QSize withoutBar = window.size();
    ASSERT_EQ(withoutBar.height(), 505);
    window.SetControlVisible(Control::ProgressBar1, true);
    ASSERT_EQ(window.size(), QSize(785, 536));

    const struct {
        QSize enlarged; // empty: left at the automatic size
        int chartHeightWithoutBar;
    } cases[] = {
        {QSize(), 449},
        {QSize(900, 700), 449 + 164 + 31},
        {QSize(785, 600), 449 + 64 + 31},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chartHeightWithoutBar);
        window.SetControlVisible(Control::ProgressBar1, true);
        window.resize(785, 536);
        if (!c.enlarged.isEmpty())
            window.resize(c.enlarged);
        const QSize withBar = c.enlarged.isEmpty() ? QSize(785, 536) : c.enlarged;
        EXPECT_EQ(window.size(), withBar);
        window.SetControlVisible(Control::ProgressBar1, false);
        EXPECT_EQ(window.size(), c.enlarged.isEmpty() ? withoutBar : c.enlarged);
        EXPECT_EQ(window.minimumSize(), withoutBar);
        EXPECT_EQ(window.Chart1().height(), c.chartHeightWithoutBar);
        EXPECT_EQ(window.Widget(Control::ZapisUstawien)->geometry().bottom() + 1, window.height());
        window.SetControlVisible(Control::ProgressBar1, true);
        EXPECT_EQ(window.size(), withBar);
        EXPECT_EQ(window.minimumSize(), QSize(785, 536));
        EXPECT_EQ(window.Widget(Control::ProgressBar1)->geometry().bottom() + 1, window.height());
    }
}

TEST_F(LayoutTest, TabOrder) {
    const std::vector<QString> expected = {
        "Chart1",          "Button1",         "DateTimePicker7", "DateTimePicker6",
        "DateTimePicker2", "DateTimePicker3", "DateTimePicker4", "DateTimePicker5",
        "DateTimePicker1", "ZapisUstawien",   "Button8",         "Button7",
        "OdczytUstawien",  "Button6",         "Button3",         "Button4",
        "Button5",         "CheckBox1",       "CheckBox2",       "ProgressBar1"};
    std::vector<QString> order;
    QWidget* start = window.Widget(Control::Chart1);
    QWidget* w = start;
    do {
        if (w->parentWidget() == &window &&
            std::find(expected.begin(), expected.end(), w->objectName()) != expected.end())
            order.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != start && order.size() < 100);
    EXPECT_EQ(order, expected);
}

TEST_F(LayoutTest, StartStates) {
    const Control enabled[] = {Control::OdczytUstawien, Control::Button6, Control::CheckBox1,
                               Control::CheckBox2, Control::ProgressBar1};
    const Control disabled[] = {
        Control::Button1,         Control::Button3,         Control::Button4,
        Control::Button5,         Control::Button7,         Control::Button8,
        Control::ZapisUstawien,   Control::DateTimePicker1, Control::DateTimePicker2,
        Control::DateTimePicker3, Control::DateTimePicker4, Control::DateTimePicker5,
        Control::DateTimePicker6, Control::DateTimePicker7};
    for (Control c : enabled)
        EXPECT_TRUE(window.IsControlEnabled(c)) << LayoutOf(c).name;
    for (Control c : disabled)
        EXPECT_FALSE(window.IsControlEnabled(c)) << LayoutOf(c).name;
    for (const ControlLayout& c : ControlLayouts())
        EXPECT_EQ(window.IsControlVisible(c.control), c.control != Control::Button5) << c.name;
    EXPECT_TRUE(window.IsChecked(Control::CheckBox1));
    EXPECT_TRUE(window.IsChecked(Control::CheckBox2));
    auto* bar = qobject_cast<QProgressBar*>(window.Widget(Control::ProgressBar1));
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 600);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(window.SeriesActive(Series::Series1));
    EXPECT_TRUE(window.SeriesActive(Series::Series2));
}

TEST_F(LayoutTest, FontsAndTheRedBoldStatus) {
    const QFont font = window.font();
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_FALSE(font.bold());
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
    auto* button = window.Widget(Control::Button7);
    EXPECT_EQ(button->font().pixelSize(), 11);
    EXPECT_FALSE(button->font().bold());

    auto* status = window.Widget(Control::Label9);
    EXPECT_TRUE(status->font().bold());
    EXPECT_EQ(status->font().pixelSize(), 11);
    EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(window.Widget(Control::Label8)->font().bold());
    // Later texts keep the font.
    window.SetControlText(Control::Label9, "Brak odpowiedzi !");
    EXPECT_TRUE(status->font().bold());
    EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(LayoutTest, CentredOnTheScreenWhenFirstShown) {
    window.show();
    const QRect screen = window.screen()->availableGeometry();
    const QPoint centre = window.frameGeometry().center();
    EXPECT_LE(std::abs(centre.x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(centre.y() - screen.center().y()), 1);
    EXPECT_EQ(window.size(), QSize(785, 536));
}

TEST_F(LayoutTest, LabelsTakeMarkupAsPlainText) {
    window.SetControlText(Control::Label7, "Identyfikator: <b>RT</b>");
    // Shown as typed: the label is as wide as the whole text, tags included.
    auto* label = window.Widget(Control::Label7);
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance("Identyfikator: <b>RT</b>"));
    EXPECT_EQ(window.ControlText(Control::Label7), "Identyfikator: <b>RT</b>");
}

} // namespace
} // namespace velkor
