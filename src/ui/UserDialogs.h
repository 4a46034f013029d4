#pragma once
// The one seam for everything modal the program asks or tells: message boxes, the
// error box, OK/Cancel questions, file dialogs and printer dialogs. The program uses
// `dialogs()`; tests install their own implementation with `setDialogs()` and record
// what was shown.

#include <QString>
#include <QStringList>

#include <exception>
#include <optional>

class QPrinter;
class QWidget;

namespace luvir {

// The caption of every message box without one of its own.
inline const QString kAppTitle = QStringLiteral("ЛЮВИР-2.07");

struct FileDialogRequest {
    QString filter;        // e.g. "Архив (*.db)"; several entries separated by ";;"
    QString defaultSuffix; // appended when the user types a name without one
    QString fileName;      // offered at first (the last name chosen)
    QString selectedFilter; // in: the entry selected at first; out: the entry chosen
};

class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    // A message box with an OK button and the caption "ЛЮВИР-2.07".
    virtual void message(QWidget *parent, const QString &text) = 0;
    // The error box: caption "ЛЮВИР-2.07", error icon, OK.
    virtual void error(QWidget *parent, const QString &text) = 0;
    // OK/Cancel with a question icon, OK the default; true for OK.
    virtual bool question(QWidget *parent, const QString &text, const QString &caption) = 0;
    // One line of text typed after `label`, starting as `text`; nullopt when cancelled. The
    // box is wide enough for its caption. Cancelled in a stand-in that does not answer it.
    virtual std::optional<QString> textInput(
        QWidget *parent, const QString &caption, const QString &label, const QString &text)
    {
        Q_UNUSED(parent);
        Q_UNUSED(caption);
        Q_UNUSED(label);
        Q_UNUSED(text);
        return std::nullopt;
    }
    // The chosen file name, empty when cancelled.
    virtual QString openFileName(QWidget *parent, FileDialogRequest &request) = 0;
    virtual QString saveFileName(QWidget *parent, FileDialogRequest &request) = 0;
    // Several existing files at once; empty when cancelled. By default the one of openFileName.
    virtual QStringList openFileNames(QWidget *parent, FileDialogRequest &request)
    {
        const QString chosen = openFileName(parent, request);
        return chosen.isEmpty() ? QStringList() : QStringList {chosen};
    }
    // The printer set-up dialog and the print dialog; true when the user confirmed.
    virtual bool printerSetup(QWidget *parent, QPrinter &printer) = 0;
    virtual bool print(QWidget *parent, QPrinter &printer) = 0;
};

// The implementation in use: Qt's own dialogs unless a test installed another.
UserDialogs &dialogs();
// Installs `replacement` (not owned); nullptr returns to Qt's dialogs.
void setDialogs(UserDialogs *replacement);

// Panel 0 of the main window's status bar, the program's message line.
class StatusLine
{
public:
    virtual ~StatusLine() = default;
    virtual void setStatus(const QString &text) = 0;
};

// How the program tells the user of a failure: a message box, then, once it is closed,
// the same text in the status line (when there is one).
void tellUser(QWidget *parent, StatusLine *status, const QString &text);

// Runs `action`; an exception that escapes it is shown in the error box and the program
// goes on. Returns false when an exception was caught.
template<typename Action>
bool guarded(QWidget *parent, Action &&action);

void reportException(QWidget *parent, const std::exception_ptr &exception);

template<typename Action>
bool guarded(QWidget *parent, Action &&action)
{
    try {
        action();
        return true;
    } catch (...) {
        reportException(parent, std::current_exception());
        return false;
    }
}

} // namespace luvir
