// The window with an archive: every download goes in after logger.txt is written, an archive
// that cannot be written costs nothing but a box, and the erase question warns of samples the
// archive lacks.
#include "LoggerBlocks.h"
#include "archive/Archive.h"
#include "tests/platform/TempFolder.h"

#include <QDir>

#include <fstream>

namespace velkor {
namespace {

using test::FullBlock;
using test::LoggerWindow;

class ArchiveWindow : public LoggerWindow {
protected:
    void SetUp() override {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.path().string())));
    }
    void TearDown() override { QDir::setCurrent(previous); }
    std::string Archive(const char* name) const { return (folder / name).string(); }

    testing::TempFolder folder;
    QString previous;
};

TEST_F(ArchiveWindow, EveryDownloadGoesInAndItsLineEndsTheMessage) {
    auto silentFrom2 = test::SmallLog();
    silentFrom2.erase(2);
    const struct {
        const char* name;
        std::map<int, std::string> blocks;
        std::size_t errors; // boxes
        const char* lastLine;
        std::int64_t archived;
    } cases[] = {
        // A complete download ends as it always did: no box. Of SmallLog's four lines the
        // archive takes what the data-file reader takes: -3276.8 does not fit the file's
        // six-character temperature field, so that line reads as a bad one.
        {"complete", test::SmallLog(), 0, nullptr, 3},
        {"silent from block 2", silentFrom2, 1,
         "Archiwum: nowe próbki: 0, już zapisane: 3, sprzeczne: 0.", 3},
        {"nothing received", {}, 1, "Archiwum: nowe próbki: 0, już zapisane: 0, sprzeczne: 0.", 3},
    };
    services.services.archive = Archive("archive.sqlite");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs = test::FakeDialogs();
        Open();
        Connect(test::LoggerWithBlocks(c.blocks));
        Click(Control::Button7);
        ASSERT_EQ(dialogs.errors.size(), c.errors);
        if (c.lastLine) {
            EXPECT_TRUE(dialogs.errors[0].text.endsWith(u'\n' + QString::fromUtf8(c.lastLine)))
                << dialogs.errors[0].text.toStdString();
        }
        const auto a = archive::OpenArchive(Archive("archive.sqlite"));
        EXPECT_EQ(a->CountSamples("RTW01234", {}), c.archived);
        const auto downloads = a->Downloads("RTW01234");
        ASSERT_FALSE(downloads.empty());
        EXPECT_EQ(downloads.back().meta.port, "COM3");
        EXPECT_EQ(downloads.back().meta.complete, c.errors == 0);
    }
}

TEST_F(ArchiveWindow, AnArchiveThatCannotBeWrittenLeavesLoggerTxt) {
    std::ofstream(Archive("noise.sqlite"), std::ios::binary) << std::string(4096, '\x5a');
    services.services.archive = Archive("noise.sqlite");
    Open(Language::English);
    Connect(test::LoggerWithBlocks(test::SmallLog()));
    Click(Control::Button7);
    EXPECT_EQ(testing::Slurp(folder / "logger.txt").size(), 141u);
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].text.toStdString(),
              "The archive " + Archive("noise.sqlite") +
                  " could not be written: the file is not an archive of this program (file is "
                  "not a database)");
    // The buttons are those of a finished download.
    EXPECT_TRUE(window->IsControlEnabled(Control::Button3));
    EXPECT_FALSE(window->IsControlEnabled(Control::Button7));
}

TEST_F(ArchiveWindow, TheEraseQuestionWarnsOfSamplesOutsideTheArchive) {
    // ValidLogger: 100 samples a minute from 2024-01-01, its clock long past them.
    const struct {
        const char* name;
        bool downloadFirst;
        const char* question;
    } cases[] = {
        {"nothing archived", false, "Uwaga: próbek spoza archiwum: 100.\nCzy na pewno?"},
        {"three archived", true, "Uwaga: próbek spoza archiwum: 97.\nCzy na pewno?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs = test::FakeDialogs();
        dialogs.answerYes = false;
        services.services.archive = Archive(c.name);
        Open(Language::English);
        Connect(test::LoggerWithBlocks(test::SmallLog()));
        if (c.downloadFirst)
            Click(Control::Button7);
        Click(Control::Button8);
        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].text, QString::fromUtf8(c.question));
    }
}

TEST_F(ArchiveWindow, AnEraseIsRecorded) {
    services.services.archive = Archive("archive.sqlite");
    Open();
    auto replies = test::LoggerWithBlocks(test::SmallLog());
    replies["E!\r"] = "E!OK\r";
    Connect(replies);
    Click(Control::Button8);
    const auto erases = archive::OpenArchive(Archive("archive.sqlite"))->EraseEvents("RTW01234");
    ASSERT_EQ(erases.size(), 1u);
    EXPECT_TRUE(erases[0].confirmed);
}

} // namespace
} // namespace velkor
