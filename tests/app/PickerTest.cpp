#include "FakeDialogs.h"
#include "TestServices.h"
#include "app/MainWindow.h"
#include "app/PickerValues.h"
#include "platform/DateTime.h"

#include <QDateEdit>
#include <QTimeEdit>

#include "tests/TestDates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velkor {
namespace {

using velkor::testing::Date;
using velkor::testing::Time;

TEST(PickerValues, DayCountsOfKnownDates) {
    EXPECT_EQ(DayCountFromDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(DayCountFromDate(QDate(2010, 1, 22)), 40200.0);
    EXPECT_EQ(DayCountFromDate(QDate()), 0.0);
    EXPECT_DOUBLE_EQ(DayCountFromTime(QTime(12, 0, 0)), 0.5);
    EXPECT_DOUBLE_EQ(DayCountFromTime(QTime(0, 1, 0)), 60.0 / 86400.0);
}

TEST(PickerValues, DateOfDayCountWithinRange) {
    const QDate lo(1752, 9, 14), hi(9999, 12, 31);
    EXPECT_EQ(DateFromDayCount(40200.75, lo, hi), QDate(2010, 1, 22));
    EXPECT_EQ(DateFromDayCount(Date(2024, 2, 29), lo, hi), QDate(2024, 2, 29));
    // The end of logging 9999999 intervals of 23:59:59 after 2024: about 27,400 years ahead.
    const double farEnd = 9999999.0 * Time(23, 59, 59) + Date(2024, 1, 1);
    EXPECT_EQ(DateFromDayCount(farEnd, lo, hi), hi);
    EXPECT_EQ(DateFromDayCount(-1e12, lo, hi), lo);
    EXPECT_EQ(DateFromDayCount(1e300, lo, hi), hi);
    EXPECT_FALSE(DateFromDayCount(std::nan(""), lo, hi).has_value());
    EXPECT_FALSE(DateFromDayCount(std::numeric_limits<double>::infinity(), lo, hi).has_value());
}

TEST(PickerValues, TimeOfDayOfDayCount) {
    EXPECT_EQ(TimeFromDayCount(40200.0 + Time(14, 5, 30)), QTime(14, 5, 30));
    EXPECT_EQ(TimeFromDayCount(Time(23, 59, 59)), QTime(23, 59, 59));
    EXPECT_EQ(TimeFromDayCount(0.0), QTime(0, 0, 0));
    EXPECT_FALSE(TimeFromDayCount(std::nan("")).has_value());
}

class PickerWindow : public ::testing::Test {
protected:
    velkor::testing::FakeDialogs dialogs;
    velkor::testing::TestServices services;
    MainWindow window{dialogs, services.services, Language::Polish};
};

TEST_F(PickerWindow, KindsAndStartValues) {
    for (Control c :
         {Control::DateTimePicker2, Control::DateTimePicker4, Control::DateTimePicker6}) {
        auto* edit = qobject_cast<QDateEdit*>(window.Widget(c));
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->calendarPopup());
        EXPECT_EQ(window.PickerValue(c), Date(2000, 1, 1));
    }
    for (Control c :
         {Control::DateTimePicker3, Control::DateTimePicker5, Control::DateTimePicker7}) {
        auto* edit = qobject_cast<QTimeEdit*>(window.Widget(c));
        ASSERT_NE(edit, nullptr);
        EXPECT_FALSE(edit->calendarPopup());
        EXPECT_EQ(edit->buttonSymbols(), QAbstractSpinBox::UpDownArrows);
        EXPECT_EQ(window.PickerValue(c), 0.0);
    }
    EXPECT_DOUBLE_EQ(window.PickerValue(Control::DateTimePicker1), Time(0, 1, 0));
}

TEST_F(PickerWindow, DatePickerKeepsTheDateTimePickerTheTimeOfDay) {
    const double value = Date(2024, 3, 5) + Time(8, 30, 0);
    window.SetPickerValue(Control::DateTimePicker2, value);
    window.SetPickerValue(Control::DateTimePicker3, value);
    EXPECT_EQ(window.PickerValue(Control::DateTimePicker2), Date(2024, 3, 5));
    EXPECT_NEAR(window.PickerValue(Control::DateTimePicker3), Time(8, 30, 0), 1e-9);
}

TEST_F(PickerWindow, FarFutureDateShowsLastDateAndNanChangesNothing) {
    const double farEnd = 9999999.0 * Time(23, 59, 59) + Date(2024, 1, 1);
    window.SetPickerValue(Control::DateTimePicker4, farEnd);
    window.SetPickerValue(Control::DateTimePicker5, farEnd);
    EXPECT_EQ(window.PickerValue(Control::DateTimePicker4), Date(9999, 12, 31));
    EXPECT_NEAR(window.PickerValue(Control::DateTimePicker5), TimeOf(farEnd), 1.0 / 86400000.0);

    window.SetPickerValue(Control::DateTimePicker6, Date(2010, 1, 22));
    window.SetPickerValue(Control::DateTimePicker6, std::nan(""));
    EXPECT_EQ(window.PickerValue(Control::DateTimePicker6), 40200.0);
}

// Before the first Connect the pickers show the layout's values in the layout's form, in both
// languages.
TEST(PickerStart, ShowsTheLayoutsValues) {
    const struct {
        Control picker;
        const char* shown;
    } cases[] = {
        {Control::DateTimePicker6, "2000-01-01"}, {Control::DateTimePicker7, "00:00:00"},
        {Control::DateTimePicker2, "2000-01-01"}, {Control::DateTimePicker3, "00:00:00"},
        {Control::DateTimePicker4, "2000-01-01"}, {Control::DateTimePicker5, "00:00:00"},
        {Control::DateTimePicker1, "00:01:00"},
    };
    for (Language language : {Language::Polish, Language::English}) {
        testing::FakeDialogs dialogs;
        testing::TestServices services;
        MainWindow window(dialogs, services.services, language);
        for (const auto& c : cases)
            EXPECT_EQ(static_cast<QDateTimeEdit*>(window.Widget(c.picker))->text(), c.shown)
                << LayoutOf(c.picker).name;
    }
}

TEST_F(PickerWindow, DisplayFormatsAsReadingTheSettingsSetsThem) {
    window.SetPickerFormat(Control::DateTimePicker7, "HH:mm:ss");
    window.SetPickerFormat(Control::DateTimePicker6, "yyyy-MM-dd");
    window.SetPickerValue(Control::DateTimePicker7, Time(9, 5, 7));
    window.SetPickerValue(Control::DateTimePicker6, Date(2024, 3, 5));
    EXPECT_EQ(qobject_cast<QTimeEdit*>(window.Widget(Control::DateTimePicker7))->text(),
              "09:05:07");
    EXPECT_EQ(qobject_cast<QDateEdit*>(window.Widget(Control::DateTimePicker6))->text(),
              "2024-03-05");
    EXPECT_EQ(window.PickerFormat(Control::DateTimePicker6), "yyyy-MM-dd");
}

} // namespace
} // namespace velkor
