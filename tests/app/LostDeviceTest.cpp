// The logger's port goes away in the middle of an exchange (an unplugged adapter): the user is
// told which port was lost and why, and the window is back to its not-connected state, from
// which Connect works again without a restart.
#include "LoggerWindow.h"
#include "chart/ChartWidget.h"

#include <functional>

namespace velkor {
namespace {

using velkor::testing::LoggerWindow;

class LostDevice : public LoggerWindow {};

TEST_F(LostDevice, AnyExchangeReturnsTheWindowToNotConnected) {
    const struct {
        const char* name;
        Language language;
        bool connectFirst;
        Control button;
        std::size_t goneAtWait; // the port goes away in this wait of the click
        const char* text;
    } cases[] = {
        {"connect, clock query", Language::Polish, false, Control::OdczytUstawien, 2,
         "Utracono połączenie z rejestratorem na porcie COM3 ("},
        {"connect, battery query", Language::English, false, Control::OdczytUstawien, 7,
         "Lost the connection to the logger on port COM3 ("},
        {"save settings", Language::Polish, true, Control::ZapisUstawien, 1,
         "Utracono połączenie z rejestratorem na porcie COM3 ("},
        {"set clock", Language::English, true, Control::Button1, 1,
         "Lost the connection to the logger on port COM3 ("},
        {"erase wait", Language::Polish, true, Control::Button8, 3,
         "Utracono połączenie z rejestratorem na porcie COM3 ("},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs = velkor::testing::FakeDialogs();
        logger.gone = false;
        services.pause.onSleep = {};
        MainWindow& w = Open(c.language);
        if (c.connectFirst)
            Connect();
        else
            velkor::testing::AnswerCommands(logger, velkor::testing::ValidLogger());
        w.OnFileLoaded();
        w.AddPoint(Series::Series1, 45000.0, 1.0, chart::DefaultColor);
        const std::size_t messages = dialogs.messages.size();
        services.pause.waits.clear();
        services.pause.onSleep = [&](int) {
            if (services.pause.waits.size() == c.goneAtWait)
                logger.gone = true;
        };
        Click(c.button);

        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_TRUE(dialogs.errors[0].text.startsWith(QString::fromUtf8(c.text)))
            << dialogs.errors[0].text.toStdString();
        EXPECT_TRUE(dialogs.errors[0].text.endsWith(")."));
        EXPECT_FALSE(dialogs.errors[0].text.contains('\n'));
        EXPECT_EQ(dialogs.errors[0].caption, "app_tests");
        EXPECT_LE(dialogs.messages.size(), messages + (c.connectFirst ? 0 : 1)); // no result box

        EXPECT_FALSE(services.link.IsOpen());
        EXPECT_TRUE(w.IsControlEnabled(Control::OdczytUstawien));
        for (Control control :
             {Control::Button1, Control::Button7, Control::Button8, Control::ZapisUstawien,
              Control::DateTimePicker1, Control::DateTimePicker4, Control::DateTimePicker7})
            EXPECT_FALSE(w.IsControlEnabled(control)) << LayoutOf(control).name;
        EXPECT_EQ(w.ControlText(Control::Label9), TextOf(TextTarget::Label9, c.language));
        // What the chart shows and what can be done with it stays.
        EXPECT_EQ(w.Chart1().Chart().Series(0).Count(), 1u);
        EXPECT_TRUE(w.IsControlEnabled(Control::Button3));
        EXPECT_TRUE(w.IsControlEnabled(Control::Button6));

        // Plugged in again: Connect finds it and offers everything again.
        logger.gone = false;
        services.pause.onSleep = {};
        dialogs.errors.clear();
        Click(Control::OdczytUstawien);
        EXPECT_TRUE(dialogs.errors.empty());
        EXPECT_TRUE(services.link.IsOpen());
        EXPECT_EQ(w.ControlText(Control::Label9), w.Text(RunText::FoundStatus));
        for (Control control : {Control::Button1, Control::Button7, Control::Button8,
                                Control::ZapisUstawien, Control::DateTimePicker7})
            EXPECT_TRUE(w.IsControlEnabled(control)) << LayoutOf(control).name;
        EXPECT_FALSE(w.IsControlEnabled(Control::OdczytUstawien));
    }
}

} // namespace
} // namespace velkor
