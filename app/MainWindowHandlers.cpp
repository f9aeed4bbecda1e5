// The click handlers of the window. Each runs inside the error report (RunGuarded). Their work
// lives in link/ and log/ and the chart view; the handlers read the controls, call it and write
// the controls back. Connect, Save settings and Set clock are in LoggerHandlers.cpp, the erase
// in EraseHandler.cpp, the log download, load and copy in LogHandlers.cpp, the check boxes and
// the print button in ChartHandlers.cpp.

#include "app/MainWindow.h"

#include <QAbstractButton>

namespace velkor {

void MainWindow::ConnectHandlers() {
    const auto bind = [this](Control control, void (MainWindow::*handler)()) {
        auto* button = static_cast<QAbstractButton*>(Widget(control));
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); });
    };
    bind(Control::OdczytUstawien, &MainWindow::OdczytUstawienClick);
    bind(Control::ZapisUstawien, &MainWindow::ZapisUstawienClick);
    bind(Control::Button1, &MainWindow::Button1Click);
    bind(Control::Button7, &MainWindow::Button7Click);
    bind(Control::Button6, &MainWindow::Button6Click);
    bind(Control::Button3, &MainWindow::Button3Click);
    bind(Control::Button8, &MainWindow::Button8Click);
    bind(Control::Button4, &MainWindow::Button4Click);
    bind(Control::CheckBox1, &MainWindow::CheckBox1Click);
    bind(Control::CheckBox2, &MainWindow::CheckBox2Click);
}

} // namespace velkor
