// The chart menu's PDF report: the file the chart shows, saved where the save dialog says;
// after a download it holds what the logger told, after a load from disk it does not.
#include "LoggerBlocks.h"
#include "PdfText.h"
#include "app/ChartMenu.h"
#include "chart/ChartWidget.h"
#include "tests/support/TempFolder.h"

#include <QDir>

namespace velkor {
namespace {

using velkor::testing::LoggerWindow;

class ReportMenu : public LoggerWindow {
protected:
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.path().string())));
        // The analysis settings the report uses come from a velkor.conf of the test's own.
        previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(folder.path().string()));
    }
    void TearDown() override {
        QDir::setCurrent(previous);
        if (previousConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", previousConfig);
    }

    testing::TempFolder folder;
    QString previous;
    QByteArray previousConfig;
};

TEST_F(ReportMenu, SavesTheReportWithWhatTheLoggerToldAfterADownload) {
    const QStringList facts{"Reported by the logger", "RTW01234", "3650 mV", "1 min",
                            "2024-01-01 00:00:00"};
    for (const bool download : {true, false}) {
        SCOPED_TRACE(download);
        Open(Language::English);
        if (download) {
            Connect(velkor::testing::LoggerWithBlocks(velkor::testing::SmallLog()));
            Click(Control::Button7);
        } else {
            dialogs.chosenFile = QString::fromStdString(
                folder
                    .file("stored.txt", "1\t2024-02-01 00:00:00\t+021.5\t45.3\r\n"
                                        "2\t2024-02-01 00:10:00\t+021.7\t45.1\r\n"
                                        "3\t2024-02-01 00:20:00\t+021.9\t45.0\r\n")
                    .string());
            Click(Control::Button6);
        }
        ASSERT_TRUE(dialogs.errors.empty());
        dialogs.chosenFile =
            QDir(QString::fromStdString(folder.path().string())).filePath(QStringLiteral("report"));
        window->Chart1().findChild<ChartMenu*>()->Run(ChartMenu::Entry::Report);
        ASSERT_TRUE(dialogs.errors.empty());
        EXPECT_EQ(dialogs.saveOptions.back().presetName, QStringLiteral("report.pdf"));
        const QString text = velkor::testing::PdfText(dialogs.chosenFile + QStringLiteral(".pdf"));
        EXPECT_TRUE(
            text.contains(download ? QStringLiteral("logger.txt") : QStringLiteral("stored.txt")));
        for (const QString& fact : facts)
            EXPECT_EQ(text.contains(fact), download) << fact.toStdString();
        window.reset();
    }
}

} // namespace
} // namespace velkor
