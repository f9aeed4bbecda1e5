#pragma once
// Keeps the user from starting anything while a handler lets the window take events (the
// download, the erase wait): every control that takes input is disabled for the lock's lifetime
// and then gets back exactly the enabled state it had, also when the handler ends with an
// error. The labels and the progress bar take no input and keep their look. The keyboard focus
// goes back to where it was. Meanwhile the window is busy (Esc and the close button ask the
// operation to stop), and the input that arrived is taken while the controls are still locked,
// so that no click made during the operation runs after it.

#include "app/ControlTable.h"

#include <QPointer>
#include <QWidget>

#include <array>

namespace velkor {

class MainWindow;

class ControlLock {
public:
    explicit ControlLock(MainWindow& window);
    ~ControlLock();
    ControlLock(const ControlLock&) = delete;
    ControlLock& operator=(const ControlLock&) = delete;

    // Whether the lock disables this control.
    static bool Locks(Control control);

private:
    MainWindow& window_;
    std::array<bool, ControlCount> wasEnabled_{};
    QPointer<QWidget> focus_;
    bool wasBusy_ = false;
};

} // namespace velkor
