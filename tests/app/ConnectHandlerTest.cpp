// Connect: the boxes, labels and pickers the window shows for what the logger answers, and
// which controls each answer makes usable.
#include "LoggerWindow.h"
#include "platform/DateTime.h"

#include <algorithm>

namespace velkor {
namespace {

using velkor::testing::LoggerWindow;
using velkor::testing::Replies;
using velkor::testing::ValidLogger;

class ConnectHandler : public LoggerWindow {};

struct TextSet {
    Language language;
    const char* foundCaption;
    const char* foundStatus;
    const char* identifierPrefix;
    const char* notFoundText;
    const char* notFoundCaption;
    const char* notFoundStatus;
    const char* battery;
};

const TextSet Polish{Language::Polish,    "Znaleziono urządzenie  :",   "Znaleziono",
                     "Identyfikator: ",   "Urządzenie nie odpowiada !", "UWAGA !",
                     "Brak odpowiedzi !", "Napięcie baterii: 3650mV"};
const TextSet English{Language::English, "Found Device   :",        "Found",
                      "Identyfier: ",    "Device not responding !", "Attention !",
                      "No responing !",  "Battery voltage: 3650mV"};

class ConnectTexts : public LoggerWindow, public ::testing::WithParamInterface<TextSet> {};

TEST_P(ConnectTexts, FoundBoxAndLabelsShowTheReplyWithItsLineEnd) {
    const TextSet& texts = GetParam();
    MainWindow& w = Open(texts.language);
    Connect();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "RTW01234\r");
    EXPECT_EQ(dialogs.messages[0].caption, QString::fromUtf8(texts.foundCaption));
    EXPECT_EQ(w.ControlText(Control::Label9), QString::fromUtf8(texts.foundStatus));
    EXPECT_EQ(w.ControlText(Control::Label7),
              QString::fromUtf8(texts.identifierPrefix) + "RTW01234\r");
    EXPECT_EQ(w.ControlText(Control::Label1), QString::fromUtf8(texts.battery));
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_P(ConnectTexts, NoLoggerAnswersLeavesTheWindowAsItWas) {
    const TextSet& texts = GetParam();
    MainWindow& w = Open(texts.language);
    // COM3 is present but silent.
    const std::vector<bool> before = EnabledStates();
    Click(Control::OdczytUstawien);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QString::fromUtf8(texts.notFoundText));
    EXPECT_EQ(dialogs.messages[0].caption, QString::fromUtf8(texts.notFoundCaption));
    EXPECT_EQ(w.ControlText(Control::Label9), QString::fromUtf8(texts.notFoundStatus));
    EXPECT_TRUE(w.Widget(Control::Label9)->font().bold());
    EXPECT_EQ(EnabledStates(), before);
    EXPECT_TRUE(w.IsControlEnabled(Control::OdczytUstawien));
    EXPECT_FALSE(services.link.IsOpen());
    // The silent port was asked once in each pass.
    EXPECT_EQ(logger.opens, 2);
    EXPECT_EQ(logger.written(), "N?\rN?\r");
    EXPECT_EQ(services.ports.openAttempts.size(), 511u);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ConnectTexts, ::testing::Values(Polish, English),
                         [](const auto& info) {
                             return info.param.language == Language::Polish ? "Polish" : "English";
                         });

// A port another program holds is named in the not-found box, once, in scan order; a silent
// port is not.
TEST_F(ConnectHandler, NotFoundBoxNamesThePortsHeldByAnotherProgram) {
    services.ports.add("COM7").busy = true;
    services.ports.add("COM2");
    logger.busy = true;
    const struct {
        Language language;
        const char* text;
    } cases[] = {
        {Language::Polish, "Urządzenie nie odpowiada !\nPort COM3 jest zajęty przez inny "
                           "program.\nPort COM7 jest zajęty przez inny program."},
        {Language::English, "Device not responding !\nPort COM3 is in use by another "
                            "program.\nPort COM7 is in use by another program."},
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        MainWindow& w = Open(c.language);
        Click(Control::OdczytUstawien);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(dialogs.messages[0].caption, w.Text(RunText::NotFoundCaption));
        EXPECT_TRUE(w.IsControlEnabled(Control::OdczytUstawien));
    }
}

TEST_F(ConnectHandler, SecondClickAfterAFailedScanScansEverythingAgainAndCanSucceed) {
    MainWindow& w = Open();
    Click(Control::OdczytUstawien);
    EXPECT_EQ(services.ports.openAttempts.size(), 511u);
    Connect();
    EXPECT_EQ(services.ports.openAttempts.size(), 511u + 3u); // COM1, COM2 absent, COM3 answers
    EXPECT_EQ(w.ControlText(Control::Label9), "Znaleziono");
    EXPECT_FALSE(w.IsControlEnabled(Control::OdczytUstawien));
}

TEST_F(ConnectHandler, ReadsEverySettingIntoPickersAndLoggerSettings) {
    MainWindow& w = Open();
    Connect();

    EXPECT_EQ(Shown(Control::DateTimePicker7), "12:34:56");
    EXPECT_EQ(Shown(Control::DateTimePicker6), "2024-03-05");
    EXPECT_EQ(Shown(Control::DateTimePicker1), "00:01:00");
    EXPECT_EQ(Shown(Control::DateTimePicker2), "2024-01-01");
    EXPECT_EQ(Shown(Control::DateTimePicker3), "00:00:00");
    // 100 one-minute samples from midnight.
    EXPECT_EQ(Shown(Control::DateTimePicker4), "2024-01-01");
    EXPECT_EQ(Shown(Control::DateTimePicker5), "01:40:00");
    for (Control time : {Control::DateTimePicker1, Control::DateTimePicker3,
                         Control::DateTimePicker5, Control::DateTimePicker7})
        EXPECT_EQ(w.PickerFormat(time), "HH:mm:ss");
    for (Control date :
         {Control::DateTimePicker2, Control::DateTimePicker4, Control::DateTimePicker6})
        EXPECT_EQ(w.PickerFormat(date), "yyyy-MM-dd");

    const LoggerSettings& s = services.settings;
    EXPECT_EQ(s.Identifier, "RTW01234");
    EXPECT_EQ(FormatDateTime("hh:nn:ss", s.ClockTime), "12:34:56");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", s.ClockDate), "2024-03-05");
    EXPECT_EQ(FormatDateTime("hh:nn:ss", s.Interval), "00:01:00");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", s.LoggingEnd), "2024-01-01 01:40:00");
    EXPECT_EQ(s.SampleCount, 100u);
    EXPECT_EQ(s.BatteryMillivolts, 3650);
    EXPECT_EQ(ProcessDateTimeFormats().shortDate, "yyyy-MM-dd");
    EXPECT_EQ(ProcessDateTimeFormats().shortTime, "HH:nn:ss");

    // The click ends by clearing the buffers: the battery reply is gone.
    EXPECT_TRUE(std::all_of(services.link.ReceiveBuffer.begin(),
                            services.link.ReceiveBuffer.begin() + SerialLink::ClearedReceiveBytes,
                            [](std::uint8_t b) { return b == 0; }));
}

TEST_F(ConnectHandler, AskedInOrderAndWaitedAfterEach) {
    Open();
    std::vector<std::string> asked;
    velkor::testing::AnswerCommands(logger, ValidLogger());
    auto answer = logger.onWrite;
    logger.onWrite = [&](const std::string& written, MemoryLine& line) {
        asked.push_back(written);
        answer(written, line);
    };
    Click(Control::OdczytUstawien);
    EXPECT_EQ(asked,
              (std::vector<std::string>{"N?\r", "T?\r", "D?\r", "I?\r", "R?\r", "S?\r", "U?\r"}));
    EXPECT_EQ(services.pause.waits, std::vector<int>(7, 100));
}

TEST_F(ConnectHandler, SuccessfulReadEnablesWhatNeedsALogger) {
    MainWindow& w = Open();
    Connect();
    for (Control c :
         {Control::DateTimePicker1, Control::DateTimePicker2, Control::DateTimePicker3,
          Control::DateTimePicker4, Control::DateTimePicker5, Control::DateTimePicker6,
          Control::DateTimePicker7, Control::Button1, Control::Button7, Control::Button8,
          Control::ZapisUstawien, Control::Button6, Control::CheckBox1, Control::CheckBox2})
        EXPECT_TRUE(w.IsControlEnabled(c)) << LayoutOf(c).name;
    for (Control c :
         {Control::OdczytUstawien, Control::Button3, Control::Button4, Control::Button5})
        EXPECT_FALSE(w.IsControlEnabled(c)) << LayoutOf(c).name;
    EXPECT_TRUE(w.SeriesActive(Series::Series2));
}

TEST_F(ConnectHandler, EnablingFollowsTheQueriesOneByOne) {
    MainWindow& w = Open();
    // What is enabled when each query goes out tells the order of the state table.
    std::vector<std::pair<std::string, std::vector<Control>>> seen;
    const std::vector<Control> watched = {
        Control::DateTimePicker7, Control::DateTimePicker6, Control::Button1,
        Control::DateTimePicker1, Control::DateTimePicker2, Control::DateTimePicker3,
        Control::DateTimePicker4, Control::DateTimePicker5, Control::Button7,
        Control::Button8,         Control::ZapisUstawien};
    velkor::testing::AnswerCommands(logger, ValidLogger());
    auto answer = logger.onWrite;
    logger.onWrite = [&](const std::string& written, MemoryLine& line) {
        std::vector<Control> enabled;
        for (Control c : watched)
            if (w.IsControlEnabled(c))
                enabled.push_back(c);
        seen.emplace_back(written, enabled);
        answer(written, line);
    };
    Click(Control::OdczytUstawien);
    // Watched lists the controls in the order they become enabled, so what is enabled when a
    // query goes out is always a prefix of it: N? T? D? I? R? S? U?, then the end.
    const std::vector<std::size_t> prefix = {0, 0, 1, 3, 4, 6, 8};
    ASSERT_EQ(seen.size(), prefix.size());
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(
            seen[i].second,
            std::vector<Control>(watched.begin(), watched.begin() + static_cast<long>(prefix[i])))
            << seen[i].first;
    for (Control c : watched)
        EXPECT_TRUE(w.IsControlEnabled(c)) << LayoutOf(c).name;
    EXPECT_FALSE(w.IsControlEnabled(Control::OdczytUstawien));
}

struct HumidityCase {
    const char* name;
    const char* reply;
    bool humidity;
};

class HumidityRule : public LoggerWindow, public ::testing::WithParamInterface<HumidityCase> {};

TEST_P(HumidityRule, ThirdCharacterWDecidesTheHumidityControls) {
    MainWindow& w = Open();
    Replies replies = ValidLogger();
    replies["N?\r"] = GetParam().reply;
    Connect(replies);
    const bool humidity = GetParam().humidity;
    EXPECT_EQ(w.IsControlEnabled(Control::CheckBox1), humidity);
    EXPECT_EQ(w.IsControlEnabled(Control::CheckBox2), humidity);
    // Disabled or not, both stay ticked.
    EXPECT_TRUE(w.IsChecked(Control::CheckBox1));
    EXPECT_TRUE(w.IsChecked(Control::CheckBox2));
    EXPECT_EQ(w.SeriesActive(Series::Series2), humidity);
    EXPECT_TRUE(w.SeriesActive(Series::Series1));
    // The rest of the read goes on either way.
    EXPECT_TRUE(w.IsControlEnabled(Control::ZapisUstawien));
}

INSTANTIATE_TEST_SUITE_P(Replies, HumidityRule,
                         ::testing::Values(HumidityCase{"RTW", "RTW0123456789\r", true},
                                           HumidityCase{"RTT", "RTT01234\r", false},
                                           HumidityCase{"RTw", "RTw01234\r", false},
                                           HumidityCase{"RTAlone", "RT", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectHandler, IdentifierIsTheFirstEightCharactersOfALongReply) {
    MainWindow& w = Open();
    Replies replies = ValidLogger();
    replies["N?\r"] = "RTW0123456789\r";
    Connect(replies);
    EXPECT_EQ(services.settings.Identifier, "RTW01234");
    EXPECT_EQ(w.ControlText(Control::Label7), "Identyfikator: RTW0123456789\r");
}

TEST_F(ConnectHandler, RepliesOutOfRangeShowTheFallbacksAndKeepTheSettings) {
    MainWindow& w = Open();
    // Values the fallbacks can be told apart from.
    for (Control c : {Control::DateTimePicker1, Control::DateTimePicker3, Control::DateTimePicker7})
        w.SetPickerValue(c, 0.5); // 12:00:00
    for (Control c : {Control::DateTimePicker2, Control::DateTimePicker6})
        w.SetPickerValue(c, 45000.0);
    services.settings.ClockTime = 0.25;
    services.settings.ClockDate = 44000.0;
    services.settings.Interval = 0.125;
    services.settings.LoggingStart = 43000.0;

    Replies replies = ValidLogger();
    replies["T?\r"] = "T?256000\r";       // hour 25
    replies["D?\r"] = "D?310224\r";       // 31 February 2024
    replies["I?\r"] = "I?006000\r";       // minute 60
    replies["R?\r"] = "R?000000311324\r"; // month 13
    replies["S?\r"] = "S?0000010\r";
    Connect(replies);

    EXPECT_EQ(Shown(Control::DateTimePicker7), "00:00:00");
    EXPECT_EQ(Shown(Control::DateTimePicker6), "2010-01-22");
    EXPECT_EQ(Shown(Control::DateTimePicker1), "00:00:00");
    EXPECT_EQ(Shown(Control::DateTimePicker2), "2010-01-22");
    EXPECT_EQ(Shown(Control::DateTimePicker3), "00:00:00");
    EXPECT_EQ(services.settings.ClockTime, 0.25);
    EXPECT_EQ(services.settings.ClockDate, 44000.0);
    EXPECT_EQ(services.settings.Interval, 0.125);
    EXPECT_EQ(services.settings.LoggingStart, 43000.0);
    // The end comes from the kept interval and start: 10 x 3 h after day 43000.
    EXPECT_DOUBLE_EQ(services.settings.LoggingEnd, 43000.0 + 1.25);
    EXPECT_EQ(Shown(Control::DateTimePicker4),
              QString::fromStdString(FormatDateTime("yyyy-mm-dd", 43001.25)));
    EXPECT_EQ(Shown(Control::DateTimePicker5), "06:00:00");
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_TRUE(w.IsControlEnabled(Control::ZapisUstawien));
}

TEST_F(ConnectHandler, ValidStartDateWithAnInvalidTimeStartsAtMidnightButShowsTheFallbacks) {
    Open();
    Replies replies = ValidLogger();
    replies["R?\r"] = "R?240000150624\r"; // hour 24 on 2024-06-15
    Connect(replies);
    EXPECT_EQ(Shown(Control::DateTimePicker2), "2010-01-22");
    EXPECT_EQ(Shown(Control::DateTimePicker3), "00:00:00");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", services.settings.LoggingStart),
              "2024-06-15 00:00:00");
}

TEST_F(ConnectHandler, ConversionErrorMidwayKeepsWhatWasEnabledAndTheLoggerConnected) {
    MainWindow& w = Open();
    Replies replies = ValidLogger();
    replies["R?\r"] = std::string("R\0", 2); // the reply text ends after one character
    velkor::testing::AnswerCommands(logger, replies);
    Click(Control::OdczytUstawien);

    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text, "'' is not a valid integer value.");
    EXPECT_EQ(dialogs.errors[0].caption, "app_tests");
    for (Control c : {Control::DateTimePicker7, Control::DateTimePicker6, Control::Button1,
                      Control::DateTimePicker1})
        EXPECT_TRUE(w.IsControlEnabled(c)) << LayoutOf(c).name;
    for (Control c : {Control::DateTimePicker2, Control::DateTimePicker3, Control::DateTimePicker4,
                      Control::DateTimePicker5, Control::Button7, Control::Button8,
                      Control::ZapisUstawien, Control::OdczytUstawien})
        EXPECT_FALSE(w.IsControlEnabled(c)) << LayoutOf(c).name;
    EXPECT_EQ(logger.written(), "N?\rT?\rD?\rI?\rR?\r"); // nothing after the failing query
    EXPECT_EQ(w.ControlText(Control::Label1), "Napięcie baterii");
    EXPECT_TRUE(services.link.IsOpen());
}

TEST_F(ConnectHandler, BatteryLabelHasNoLeadingZeros) {
    MainWindow& w = Open();
    Replies replies = ValidLogger();
    replies["U?\r"] = "U?00042\r";
    Connect(replies);
    EXPECT_EQ(w.ControlText(Control::Label1), "Napięcie baterii: 42mV");
    EXPECT_EQ(services.settings.BatteryMillivolts, 42);
}

TEST_F(ConnectHandler, EndBeyondWhatThePickerCanShowIsNoError) {
    MainWindow& w = Open();
    Replies replies = ValidLogger();
    replies["I?\r"] = "I?235959\r";
    replies["S?\r"] = "S?9999999\r";
    Connect(replies);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_GT(services.settings.LoggingEnd - services.settings.LoggingStart, 27000.0 * 365);
    EXPECT_TRUE(w.IsControlEnabled(Control::ZapisUstawien));
}

} // namespace
} // namespace velkor
