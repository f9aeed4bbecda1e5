// The click handlers of the window. Each runs inside the error report (RunGuarded). Their work
// lives in link/ and log/ and the chart view; the handlers read the controls, call it and write
// the controls back.

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

// Not yet wired to their operations: connect and read settings.
void MainWindow::OdczytUstawienClick() {}

// Not yet wired: write settings.
void MainWindow::ZapisUstawienClick() {}

// Not yet wired: set the logger's clock.
void MainWindow::Button1Click() {}

// Not yet wired: download the log.
void MainWindow::Button7Click() {}

// Not yet wired: load a data file.
void MainWindow::Button6Click() {}

// Not yet wired: save a copy of the data file.
void MainWindow::Button3Click() {}

// Not yet wired: erase the logger's memory.
void MainWindow::Button8Click() {}

// Not yet wired: print the chart.
void MainWindow::Button4Click() {}

// Not yet wired: show or hide the temperature series.
void MainWindow::CheckBox1Click() {}

// Not yet wired: show or hide the humidity series.
void MainWindow::CheckBox2Click() {}

} // namespace velkor
