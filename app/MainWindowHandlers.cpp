// The click handlers of the window. Each runs inside the error report (RunGuarded). Their work
// lives in link/ and log/ and the chart view; the handlers read the controls, call it and write
// the controls back. Connect, Save settings and Set clock are in LoggerHandlers.cpp, the erase
// in EraseHandler.cpp, the log download, load and copy in LogHandlers.cpp, the check boxes and
// the print button in ChartHandlers.cpp.

#include "app/ChartMenu.h"
#include "app/MainWindow.h"
#include "chart/ChartWidget.h"
#include "platform/Errors.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>
#include <QUrl>

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

namespace {

// The one local file a drag carries; empty for none, several, or anything else.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

void MainWindow::CreateShortcuts() {
    // A button's key clicks it, and so does nothing while the button is disabled.
    const auto clickKey = [this](QKeySequence key, Control control) {
        auto* button = static_cast<QAbstractButton*>(Widget(control));
        connect(new QShortcut(key, this), &QShortcut::activated, button, [button] {
            if (button->isEnabled() && button->isVisible())
                button->click();
        });
    };
    clickKey(QKeySequence(Qt::CTRL | Qt::Key_O), Control::Button6);
    clickKey(QKeySequence(Qt::CTRL | Qt::Key_S), Control::Button3);
    clickKey(QKeySequence(Qt::CTRL | Qt::Key_P), Control::Button4);
    // Closing asks a running operation to stop first, as the close button does.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this,
            &QWidget::close);
    // The chart's menu, on the chart: under the mouse when it is there, else at its centre.
    const auto chartMenu = [this] {
        chart::ChartWidget& chart = Chart1();
        if (!chart.isEnabled())
            return;
        const QPoint mouse = chart.mapFromGlobal(QCursor::pos());
        const QPoint at = chart.rect().contains(mouse) ? mouse : chart.rect().center();
        if (auto* menu = chart.findChild<ChartMenu*>())
            menu->Menu().popup(chart.mapToGlobal(at));
    };
    for (const QKeySequence& key :
         {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, chartMenu);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (IsControlEnabled(Control::Button6) && !DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = DroppedFile(event->mimeData());
    if (!IsControlEnabled(Control::Button6) || file.isEmpty())
        return;
    event->acceptProposedAction();
    RunGuarded([this, &file] { LoadFile(file); });
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
