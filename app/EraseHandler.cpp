// Erase the logger's memory: the question, the wait for the logger's confirmation with the
// progress bar moving, the result box. The wait itself is log/'s.

#include "app/ControlLock.h"
#include "app/MainWindow.h"
#include "log/Erase.h"
#include "platform/Dialogs.h"

namespace velkor {

namespace {

// The erase's progress on the window's bar. Showing it is the "erase confirmed" change of
// state; hiding is left to the handler, which does it after the result box.
class EraseProgress final : public ProgressSink {
public:
    explicit EraseProgress(MainWindow& window) : window_(window) {}
    void ShowProgress(int) override { window_.OnEraseConfirmed(); }
    void SetProgress(int position) override { window_.SetProgressPosition(position); }
    void HideProgress() override { window_.OnEraseFinished(); }

private:
    MainWindow& window_;
};

// The progress bar is hidden when the click ends, however it ends: after the result box, after
// the answer No, after an error of the serial channel.
class HideProgressAtEnd {
public:
    explicit HideProgressAtEnd(MainWindow& window) : window_(window) {}
    ~HideProgressAtEnd() { window_.OnEraseFinished(); }
    HideProgressAtEnd(const HideProgressAtEnd&) = delete;
    HideProgressAtEnd& operator=(const HideProgressAtEnd&) = delete;

private:
    MainWindow& window_;
};

// Raised from the wait when the user closed the window: the wait ends there; the logger goes on
// erasing by itself.
struct WindowClosing {};

} // namespace

void MainWindow::Button8Click() {
    const HideProgressAtEnd hide(*this);
    // The question is Polish whatever the window's language. When the logger holds samples the
    // archive lacks, one line above it says how many: the erase would lose the only copy.
    QString question = TextOf(RunText::EraseAskText, Language::Polish);
    if (const std::int64_t outside = SamplesOutsideArchive(); outside > 0)
        question =
            TextOf(RunText::ArchiveOutsideLine, Language::Polish).arg(outside) + u'\n' + question;
    if (!dialogs_.askYesNo(question, TextOf(RunText::EraseAskCaption, Language::Polish)))
        return;

    bool erased = false;
    try {
        // The wait lets the window take events; no click may start another exchange on the
        // port meanwhile.
        const ControlLock lock(*this);
        EraseProgress progress(*this);
        erased = EraseMemory(services_.link, services_.pause, progress, [this] {
            ProcessPendingEvents();
            if (CloseRequested())
                throw WindowClosing{};
        });
    } catch (const WindowClosing&) {
        return; // no result box: the window closes when the click has ended
    }
    const QString unrecorded = RecordErase(erased);
    dialogs_.message(Text(erased ? RunText::Erased : RunText::NotErased) +
                         (unrecorded.isEmpty() ? QString() : u'\n' + unrecorded),
                     Text(RunText::EraseResultCaption));
}

} // namespace velkor
