#include "app/CommandLine.h"
#include "app/Language.h"
#include "app/MainWindow.h"
#include "app/QtTranslation.h"
#include "app/Services.h"
#include "app/UseEnglish.h"
#include "link/LoggerSettings.h"
#include "link/SerialLink.h"
#include "log/DataFileState.h"
#include "platform/Dialogs.h"
#include "platform/Pause.h"
#include "platform/SystemSerialPorts.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <iostream>

namespace {

QStringList Arguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char* argv[]) {
    // The command line is read before Qt opens a display, so that --help, --version and the
    // errors need none.
    const velkor::CommandLine line = velkor::ParseCommandLine(
        Arguments(argc, argv), velkor::LanguageFromSwitch(velkor::UseEnglish));
    switch (line.action) {
    case velkor::CommandLine::Action::Help:
    case velkor::CommandLine::Action::Version:
        Print(stdout, line.output);
        return 0;
    case velkor::CommandLine::Action::Fail:
        Print(stderr, line.output);
        return 1;
    case velkor::CommandLine::Action::Run:
        break;
    }
    // Without a display Qt would abort.
    if (!velkor::HasDisplay()) {
        Print(stderr, velkor::NoDisplayMessage(line.language) + QLatin1Char('\n'));
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velkor"));
    QApplication::setApplicationVersion(QStringLiteral(VELKOR_VERSION));
    // The desktop entry and the icon as installed (none when run from the build folder).
    QApplication::setDesktopFileName(QStringLiteral("org.velkor.Velkor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.velkor.Velkor")));
    const velkor::QtTranslation qtTexts(line.language);

    // The program's one serial channel and what it knows of the logger, for the whole run. The
    // port Connect finds stays open until the process ends.
    const auto ports = velkor::SystemSerialPorts({}, std::cerr);
    velkor::SerialLink link(*ports);
    velkor::LoggerSettings settings;
    velkor::SleepPause pause;
    velkor::DataFileState dataFile;
    velkor::QtDialogs dialogs(nullptr);
    const std::string archive = velkor::ArchiveLocation(line.archive).toStdString();
    velkor::MainWindow window(dialogs, velkor::Services{link, settings, pause, dataFile, archive},
                              line.language);
    dialogs.setParent(&window);
    window.show();
    if (!line.dataFile.isEmpty()) {
        // "Open with" from a file manager: once the window is up, the file is loaded by the
        // handler of Odczytaj z pliku, its open dialog answered with the file's full name as
        // the dialog would give it.
        dialogs.answerNextOpenFile(QFileInfo(line.dataFile).absoluteFilePath());
        QTimer::singleShot(0, &window,
                           [&window] { window.RunGuarded([&window] { window.Button6Click(); }); });
    }
    return application.exec();
}
