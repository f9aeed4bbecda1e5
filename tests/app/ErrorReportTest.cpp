#include "app/ErrorReport.h"
#include "FakeDialogs.h"
#include "TestServices.h"
#include "app/MainWindow.h"
#include "messages/Language.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <stdexcept>

namespace velkor {
namespace {

TEST(ErrorReportText, AppendsPeriodAfterLettersAndDigits) {
    EXPECT_EQ(ErrorReportText("abc"), "abc.");
    EXPECT_EQ(ErrorReportText("File not found"), "File not found.");
    EXPECT_EQ(ErrorReportText("error 42"), "error 42.");
    EXPECT_EQ(ErrorReportText("'x' is not a valid integer value"),
              "'x' is not a valid integer value.");
    // "/" is the character right after "." and already above it.
    EXPECT_EQ(ErrorReportText("a/"), "a/.");
    EXPECT_EQ(ErrorReportText("Zażółć"), "Zażółć.");
}

TEST(ErrorReportText, KeepsTextEndingInPeriodOrBelow) {
    EXPECT_EQ(ErrorReportText("abc."), "abc.");
    EXPECT_EQ(ErrorReportText("abc!"), "abc!");
    EXPECT_EQ(ErrorReportText("abc "), "abc ");
    EXPECT_EQ(ErrorReportText("abc-"), "abc-");
    EXPECT_EQ(ErrorReportText("abc\r\n"), "abc\r\n");
    EXPECT_EQ(ErrorReportText(""), "");
}

TEST(ApplicationTitle, DropsDirectoryAndEverythingFromFirstDot) {
    EXPECT_EQ(ApplicationTitle("/usr/bin/velkor"), "velkor");
    EXPECT_EQ(ApplicationTitle("/x/My.Prog.exe"), "My");
    EXPECT_EQ(ApplicationTitle("/opt/VELKOR"), "Velkor");
    EXPECT_EQ(ApplicationTitle("/opt/vElKoR.bin"), "velkor");
    EXPECT_EQ(ApplicationTitle("Logger.exe"), "Logger");
    EXPECT_EQ(ApplicationTitle("/home/a.b/tool"), "tool");
    EXPECT_EQ(ApplicationTitle("/x/.hidden"), "");
    EXPECT_EQ(ApplicationTitle("/x/Q"), "Q");
    EXPECT_EQ(ApplicationTitle(""), "");
}

TEST(ApplicationTitle, OfTheRunningProgram) {
    // This test program is app_tests.
    EXPECT_EQ(RunningApplicationTitle(), "app_tests");
}

TEST(HandlerGuard, ReportsStandardExceptionWithTitleAndPeriod) {
    test::FakeDialogs dialogs;
    HandlerGuard guard(dialogs, "Velkor");
    bool after = false;
    guard.Run([&] {
        throw std::runtime_error("File not found");
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text, "File not found.");
    EXPECT_EQ(dialogs.errors[0].caption, "Velkor");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(HandlerGuard, ReportsAnythingThrownAndNothingWhenAllIsWell) {
    test::FakeDialogs dialogs;
    HandlerGuard guard(dialogs, "Velkor");
    guard.Run([] {});
    EXPECT_TRUE(dialogs.errors.empty());
    guard.Run([] { throw 42; });
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_FALSE(dialogs.errors[0].text.isEmpty());
    guard.Run([] { throw std::out_of_range("Device not ready!"); });
    ASSERT_EQ(dialogs.errors.size(), 2u);
    EXPECT_EQ(dialogs.errors[1].text, "Device not ready!");
}

TEST(HandlerGuard, FailingReportDoesNotEscape) {
    test::FakeDialogs dialogs;
    dialogs.failOnError = true;
    HandlerGuard guard(dialogs, "Velkor");
    EXPECT_NO_THROW(guard.Run([] { throw std::runtime_error("disk full"); }));
    EXPECT_EQ(dialogs.errors.size(), 1u);
}

TEST(HandlerGuard, WindowReportsUnderTheProgramsTitle) {
    test::FakeDialogs dialogs;
    test::TestServices services;
    MainWindow window(dialogs, services.services, Language::Polish);
    window.RunGuarded([] { throw std::runtime_error("I/O error 5"); });
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text, "I/O error 5.");
    EXPECT_EQ(dialogs.errors[0].caption, "app_tests");
}

TEST(HandlerGuard, WrongControlForAnOperationIsReportedNotCrashed) {
    test::FakeDialogs dialogs;
    test::TestServices services;
    MainWindow window(dialogs, services.services, Language::Polish);
    window.RunGuarded([&] { window.SetPickerValue(Control::Button1, 1.0); });
    window.RunGuarded([&] { window.SetControlText(Control::ProgressBar1, "x"); });
    EXPECT_EQ(dialogs.errors.size(), 2u);
}

} // namespace
} // namespace velkor
