#include "app/ControlLock.h"

#include "app/MainWindow.h"

namespace velkor {

bool ControlLock::Locks(Control control) {
    const ControlKind kind = LayoutOf(control).kind;
    return kind != ControlKind::Label && kind != ControlKind::ProgressBar;
}

ControlLock::ControlLock(MainWindow& window) : window_(window), focus_(window.focusWidget()) {
    for (const ControlLayout& layout : ControlLayouts()) {
        const auto i = static_cast<std::size_t>(layout.control);
        wasEnabled_[i] = window_.IsControlEnabled(layout.control);
        if (Locks(layout.control))
            window_.SetControlEnabled(layout.control, false);
    }
}

ControlLock::~ControlLock() {
    for (const ControlLayout& layout : ControlLayouts())
        if (Locks(layout.control))
            window_.SetControlEnabled(layout.control,
                                      wasEnabled_[static_cast<std::size_t>(layout.control)]);
    if (focus_ && focus_->isEnabled())
        focus_->setFocus();
}

} // namespace velkor
