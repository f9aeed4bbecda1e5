#include "app/Language.h"
#include "app/MainWindow.h"
#include "app/UseEnglish.h"
#include "platform/Dialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    velkor::QtDialogs dialogs(nullptr);
    velkor::MainWindow window(dialogs, velkor::LanguageFromSwitch(velkor::UseEnglish));
    dialogs.setParent(&window);
    window.show();
    return application.exec();
}
