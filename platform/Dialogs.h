#pragma once
// Every modal box and standard dialog of the program goes through Dialogs, so tests can script
// the answers. QtDialogs is the real one.

#include <QString>

#include <memory>

class QSettings;

class QPrinter;
class QWidget;

namespace velkor {

// The text a box shows: every control character written as \xNN (NUL as \x00) so that nothing
// cuts or hides the rest of the text; line feeds, tabs and the CR of a line end stay as they
// are. The boxes show it as plain text: markup in it is shown literally.
QString BoxText(const QString& text);

struct FileDialogOptions {
    QString presetName;          // file name shown at first; empty for none
    QString filter;              // "Text Files|*.txt|All Files|*.*" style; empty for no filter
    int* chosenFilter = nullptr; // when set: receives the index of the filter chosen (0: first)
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal box with a single OK button and no icon.
    virtual void message(const QString& text, const QString& caption) = 0;
    // Modal box with Yes and No buttons and no icon; true when Yes was chosen.
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;
    // The application's error report: stop icon, OK button.
    virtual void error(const QString& text, const QString& caption) = 0;
    // Open and save dialogs; true with the chosen name in fileName when the user confirmed.
    // Neither changes the process's current directory. Picking another filter of the save
    // dialog keeps the name typed or chosen.
    virtual bool openFile(const FileDialogOptions& options, QString& fileName) = 0;
    virtual bool saveFile(const FileDialogOptions& options, QString& fileName) = 0;
    // The print dialog; true when the user confirmed. The printer keeps the choices made.
    virtual bool print(QPrinter& printer) = 0;
};

// The folder the open and save dialogs start in: the one a file was last chosen in with either,
// kept across runs in $XDG_CONFIG_HOME/velkor/velkor.conf (~/.config when the variable is
// unset). Empty when none is remembered or the folder is gone.
QString RememberedFolder();
// The program's settings file, $XDG_CONFIG_HOME/velkor/velkor.conf.
std::unique_ptr<QSettings> ProgramSettings();
// Remembers the folder of a file chosen in a dialog.
void RememberFolder(const QString& chosenFile);

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}
    // The window the boxes belong to; the main window is created after its dialogs.
    void setParent(QWidget* parent) { parent_ = parent; }
    // The next openFile answers with `fileName` at once, without showing the dialog (a data file
    // named on the command line); later ones show it again.
    void answerNextOpenFile(const QString& fileName) { nextOpenFile_ = fileName; }
    void message(const QString& text, const QString& caption) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    void error(const QString& text, const QString& caption) override;
    bool openFile(const FileDialogOptions& options, QString& fileName) override;
    bool saveFile(const FileDialogOptions& options, QString& fileName) override;
    bool print(QPrinter& printer) override;

private:
    QWidget* parent_;
    QString nextOpenFile_;
};

} // namespace velkor
