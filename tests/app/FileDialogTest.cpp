// The real open and save dialogs: the folder they start in is the one last used, kept across
// runs under $XDG_CONFIG_HOME; with Qt's Polish catalogue their buttons are Polish; a file
// named on the command line answers the next open dialog without showing it.
#include "app/QtTranslation.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace velkor {
namespace {

// Points XDG_CONFIG_HOME at a fresh folder for the test's life.
class ConfigHome {
public:
    ConfigHome()
        : previous_(qgetenv("XDG_CONFIG_HOME")),
          had_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
    }
    ~ConfigHome() {
        if (had_)
            qputenv("XDG_CONFIG_HOME", previous_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    QString path() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
    QByteArray previous_;
    bool had_;
};

// Runs `act` on the file dialog once it is shown (the dialog is modal: the call returns when
// `act` has closed it).
void WhenDialogShows(std::function<void(QFileDialog&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

QStringList ButtonTexts(QFileDialog& dialog) {
    QStringList texts;
    for (QAbstractButton* b : dialog.findChild<QDialogButtonBox*>()->buttons())
        texts << b->text();
    return texts;
}

TEST(FileDialogs, StartInTheFolderLastUsedAndKeepItInTheConfigFolder) {
    const ConfigHome home;
    QTemporaryDir first, second;
    EXPECT_TRUE(RememberedFolder().isEmpty());
    QtDialogs dialogs(nullptr);

    // A copy saved into `first`.
    WhenDialogShows([&](QFileDialog& d) {
        d.selectFile(first.filePath("kopia.txt"));
        static_cast<QDialog&>(d).accept(); // QFileDialog's own, protected there
    });
    QString chosen;
    ASSERT_TRUE(dialogs.saveFile({QStringLiteral("logger.txt"), {}}, chosen));
    EXPECT_EQ(chosen, first.filePath("kopia.txt"));
    EXPECT_TRUE(QFileInfo::exists(home.path() + "/velkor/velkor.conf"));
    EXPECT_EQ(RememberedFolder(), first.path());

    // The next dialog, even in a later run (nothing else carries the folder), starts there
    // with the preset name.
    QString startFolder, presetShown;
    WhenDialogShows([&](QFileDialog& d) {
        startFolder = d.directory().absolutePath();
        presetShown = d.selectedFiles().value(0);
        d.reject();
    });
    EXPECT_FALSE(QtDialogs(nullptr).saveFile({QStringLiteral("logger.txt"), {}}, chosen));
    EXPECT_EQ(startFolder, first.path());
    EXPECT_EQ(presetShown, first.filePath("logger.txt"));

    // A file opened from `second` moves it there; a folder that is gone is forgotten.
    RememberFolder(second.filePath("pomiary.txt"));
    WhenDialogShows([&](QFileDialog& d) {
        startFolder = d.directory().absolutePath();
        d.reject();
    });
    EXPECT_FALSE(dialogs.openFile({}, chosen));
    EXPECT_EQ(startFolder, second.path());
    second.remove();
    EXPECT_TRUE(RememberedFolder().isEmpty());
}

TEST(FileDialogs, ShowQtsButtonsInTheWindowsLanguage) {
    const ConfigHome home;
    const struct {
        Language language;
        const char *open, *save, *cancel;
    } cases[] = {{Language::Polish, "&Otwórz", "&Zapisz", "Anuluj"},
                 {Language::English, "&Open", "&Save", "Cancel"}};
    for (const auto& c : cases) {
        const QtTranslation translation(c.language);
        ASSERT_TRUE(translation.Loaded());
        QStringList opening, saving;
        QString chosen;
        WhenDialogShows([&](QFileDialog& d) {
            opening = ButtonTexts(d);
            d.reject();
        });
        QtDialogs(nullptr).openFile({}, chosen);
        WhenDialogShows([&](QFileDialog& d) {
            saving = ButtonTexts(d);
            d.reject();
        });
        QtDialogs(nullptr).saveFile({QStringLiteral("logger.txt"), {}}, chosen);
        EXPECT_EQ(opening, (QStringList{QString::fromUtf8(c.open), QString::fromUtf8(c.cancel)}));
        EXPECT_EQ(saving, (QStringList{QString::fromUtf8(c.save), QString::fromUtf8(c.cancel)}));
    }
}

TEST(FileDialogs, AFileNamedBeforehandAnswersTheNextOpenDialogOnly) {
    const ConfigHome home;
    QtDialogs dialogs(nullptr);
    dialogs.answerNextOpenFile(QStringLiteral("/tmp/pomiary.txt"));
    QString chosen;
    ASSERT_TRUE(dialogs.openFile({}, chosen));
    EXPECT_EQ(chosen, QStringLiteral("/tmp/pomiary.txt"));
    // Not remembered: no dialog was used.
    EXPECT_TRUE(RememberedFolder().isEmpty());
    bool shown = false;
    WhenDialogShows([&](QFileDialog& d) {
        shown = true;
        d.reject();
    });
    EXPECT_FALSE(dialogs.openFile({}, chosen));
    EXPECT_TRUE(shown);
}

} // namespace
} // namespace velkor
