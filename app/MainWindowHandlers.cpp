// The click handlers of the window. Each runs inside the error report (RunGuarded). Their work
// lives in link/ and log/ and the chart view; the handlers read the controls, call it and write
// the controls back. Connect, Save settings and Set clock are in LoggerHandlers.cpp, the erase
// in EraseHandler.cpp, the log download, load and copy in LogHandlers.cpp, the check boxes and
// the print button in ChartHandlers.cpp.

#include "app/MainWindow.h"
#include "platform/Errors.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>

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

void MainWindow::RunGuarded(const std::function<void()>& handler) noexcept {
    guard_.Run([&] {
        try {
            handler();
        } catch (const LostDeviceError&) {
            OnDeviceLost();
            throw;
        }
    });
    if (closeRequested_ && !busy_) {
        closeRequested_ = false;
        close();
    }
}

void MainWindow::SetBusy(bool busy) {
    if (busy && !busy_)
        stopRequested_ = false;
    busy_ = busy;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The operation ends at its next step; the handler's end closes the window then.
    if (busy_) {
        stopRequested_ = true;
        closeRequested_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // With every control locked the keys come to the window itself.
    if (busy_ && event->key() == Qt::Key_Escape) {
        stopRequested_ = true;
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace velkor
