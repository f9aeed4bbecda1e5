#include "app/Language.h"
#include "app/MainWindow.h"
#include "app/Services.h"
#include "app/UseEnglish.h"
#include "link/LoggerSettings.h"
#include "link/SerialLink.h"
#include "log/DataFileState.h"
#include "platform/Dialogs.h"
#include "platform/Pause.h"
#include "platform/SystemSerialPorts.h"

#include <QApplication>

#include <iostream>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The program's one serial channel and what it knows of the logger, for the whole run. The
    // port Connect finds stays open until the process ends.
    const auto ports = velkor::SystemSerialPorts({}, std::cerr);
    velkor::SerialLink link(*ports);
    velkor::LoggerSettings settings;
    velkor::SleepPause pause;
    velkor::DataFileState dataFile;
    velkor::QtDialogs dialogs(nullptr);
    velkor::MainWindow window(dialogs, velkor::Services{link, settings, pause, dataFile},
                              velkor::LanguageFromSwitch(velkor::UseEnglish));
    dialogs.setParent(&window);
    window.show();
    return application.exec();
}
