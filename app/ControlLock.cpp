#include "app/ControlLock.h"

#include "app/MainWindow.h"

namespace velkor {

bool ControlLock::Locks(Control control) {
    const ControlKind kind = LayoutOf(control).kind;
    return kind != ControlKind::Label && kind != ControlKind::ProgressBar;
}

ControlLock::ControlLock(MainWindow& window)
    : window_(window), focus_(window.focusWidget()), wasBusy_(window.Busy()) {
    for (const ControlLayout& layout : ControlLayouts()) {
        const auto i = static_cast<std::size_t>(layout.control);
        wasEnabled_[i] = window_.IsControlEnabled(layout.control);
        if (Locks(layout.control))
            window_.SetControlEnabled(layout.control, false);
    }
    window_.SetBusy(true);
}

ControlLock::~ControlLock() {
    // Clicks still waiting go to disabled controls and are dropped. The handlers run guarded,
    // but whatever else the events do must not escape a destructor.
    try {
        window_.ProcessPendingEvents();
    } catch (...) {
    }
    window_.SetBusy(wasBusy_);
    for (const ControlLayout& layout : ControlLayouts())
        if (Locks(layout.control))
            window_.SetControlEnabled(layout.control,
                                      wasEnabled_[static_cast<std::size_t>(layout.control)]);
    if (focus_ && focus_->isEnabled())
        focus_->setFocus();
}

} // namespace velkor
