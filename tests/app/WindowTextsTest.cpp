#include "FakeDialogs.h"
#include "TestServices.h"
#include "app/MainWindow.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace velkor {
namespace {

using Expected = std::vector<std::pair<Control, QString>>;

const Expected PolishTexts = {
    {Control::Button1, "Uaktualnij datę i czas"},
    {Control::Button3, "Zapisz w pliku"},
    {Control::Button4, "Drukuj wykres"},
    {Control::Button5, "Drukuj raport"},
    {Control::Button6, "Odczytaj z pliku"},
    {Control::Button7, "Wczytaj dane"},
    {Control::Button8, "Kasuj dane"},
    {Control::CheckBox1, "Temperatura"},
    {Control::CheckBox2, "Wilgotność"},
    {Control::Label1, "Napięcie baterii"},
    {Control::Label2, "Data"},
    {Control::Label4, "Początek rejestracji"},
    {Control::Label5, "Koniec rejestracji"},
    {Control::Label6, "Okres pomiaru"},
    {Control::Label7, "Identyfikator:"},
    {Control::Label3, "Czas"},
    {Control::OdczytUstawien, "Polącz"},
    {Control::ZapisUstawien, "Zapisz ustawienia"},
    {Control::Label9, "Brak komunikacji !"},
    {Control::Label8, "TARVI v1.27"},
};

const Expected EnglishTexts = {
    {Control::Button1, "Update Time&Date"},
    {Control::Button3, "Save in file"},
    {Control::Button4, "Print chart"},
    {Control::Button5, "Print report"},
    {Control::Button6, "Read from file"},
    {Control::Button7, "Read data"},
    {Control::Button8, "Erase memory"},
    {Control::CheckBox1, "Temperature"},
    {Control::CheckBox2, "Humidity"},
    {Control::Label1, "Battery voltage"},
    {Control::Label2, "Date"},
    {Control::Label4, "Logging Start"},
    {Control::Label5, "Logging End"},
    {Control::Label6, "Measure Interval"},
    {Control::Label7, "ID"},
    {Control::Label3, "Time"},
    {Control::OdczytUstawien, "Connect"},
    {Control::ZapisUstawien, "Save settings"},
    {Control::Label9, "Offline"},
    {Control::Label8, "TARVI v1.27"},
};

TEST(WindowTexts, PolishWindow) {
    velkor::testing::FakeDialogs dialogs;
    velkor::testing::TestServices services;
    MainWindow window(dialogs, services.services, Language::Polish);
    for (const auto& [control, text] : PolishTexts)
        EXPECT_EQ(window.ControlText(control), text) << LayoutOf(control).name;
    EXPECT_EQ(window.windowTitle(), "Velkor");
    EXPECT_EQ(window.ChartTitle(), "Wykres temperatury");
    EXPECT_EQ(window.SeriesTitle(Series::Series1), "Temperatura");
    EXPECT_EQ(window.SeriesTitle(Series::Series2), "Wilgotność");
    EXPECT_FALSE(window.English());
}

TEST(WindowTexts, EnglishWindowInTheSameProgram) {
    velkor::testing::FakeDialogs dialogs;
    velkor::testing::TestServices services;
    MainWindow window(dialogs, services.services, LanguageFromSwitch(7));
    for (const auto& [control, text] : EnglishTexts)
        EXPECT_EQ(window.ControlText(control), text) << LayoutOf(control).name;
    EXPECT_EQ(window.windowTitle(), "Velkor");
    EXPECT_EQ(window.ChartTitle(), "Chart");
    EXPECT_EQ(window.SeriesTitle(Series::Series1), "Temperature");
    EXPECT_EQ(window.SeriesTitle(Series::Series2), "Humidity");
    EXPECT_TRUE(window.English());
    // The English labels are narrower or wider than the Polish ones; the window still ends at
    // the progress bar's corner.
    EXPECT_EQ(window.size(), QSize(785, 536));
}

TEST(WindowTexts, RunTimeVocabularyFollowsTheLanguage) {
    velkor::testing::FakeDialogs dialogs;
    velkor::testing::TestServices services;
    MainWindow polish(dialogs, services.services, Language::Polish);
    MainWindow english(dialogs, services.services, Language::English);
    EXPECT_EQ(polish.Text(RunText::FoundCaption), "Znaleziono urządzenie  :");
    EXPECT_EQ(english.Text(RunText::FoundCaption), "Found Device   :");
    EXPECT_EQ(english.Text(RunText::NotFoundStatus), "No responing !");
    EXPECT_EQ(english.Text(RunText::IdentifierPrefix), "Identyfier: ");
    EXPECT_EQ(polish.Text(RunText::BatteryPrefix), "Napięcie baterii: ");
    // The erase question is Polish in both languages, its result is not.
    EXPECT_EQ(english.Text(RunText::EraseAskText), "Czy na pewno?");
    EXPECT_EQ(english.Text(RunText::EraseAskCaption), "Kasowanie pamięci");
    EXPECT_EQ(english.Text(RunText::EraseResultCaption), "Memory status  :");
    EXPECT_EQ(polish.Text(RunText::EraseResultCaption), "Status pamięci  :");
    EXPECT_EQ(polish.Text(RunText::NotErased), "Nie skasowana");
}

TEST(WindowTexts, LanguageSwitchZeroIsPolishAnythingElseEnglish) {
    EXPECT_EQ(LanguageFromSwitch(0), Language::Polish);
    EXPECT_EQ(LanguageFromSwitch(1), Language::English);
    EXPECT_EQ(LanguageFromSwitch(-1), Language::English);
}

TEST(WindowTexts, AltDPressesUpdateTimeAndDate) {
    velkor::testing::FakeDialogs dialogs;
    velkor::testing::TestServices services;
    MainWindow window(dialogs, services.services, Language::English);
    window.OnClockDateRead(); // Button1 enabled
    auto* button = qobject_cast<QAbstractButton*>(window.Widget(Control::Button1));
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // A mnemonic press animates the button and clicks it a moment later.
    QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.count() == 1; }, 2000));
    QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
} // namespace velkor
