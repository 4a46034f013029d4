#pragma once
// A stand-in for the program's dialogs: records what the program showed or asked and
// answers from scripts the test sets up. Installed for its lifetime.

#include "QtPrinters.h"
#include "UserDialogs.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace luvir::test {

struct ShownDialog {
    enum Kind { Message, Error, Question, OpenFile, SaveFile, PrinterSetup, Print, TextInput };
    Kind kind;
    QString text; // message text, question text, the file dialog's filter, or the text offered
    QString caption;
};

class ScriptedDialogs final : public UserDialogs
{
public:
    ScriptedDialogs() { setDialogs(this); }
    ~ScriptedDialogs() override { setDialogs(nullptr); }

    // Answers, taken from the front; when a list runs out: Cancel for questions and
    // printer dialogs, a cancelled file dialog.
    QList<bool> questionAnswers;
    QStringList textAnswers; // typed into text boxes; a null string cancels that box
    QStringList fileAnswers; // an empty string cancels that dialog; names on lines: several files
    QList<bool> printerAnswers;
    QString fileFilterAnswer; // the filter the user "chose", when set
    // What the user changes in a printer dialog (paper, orientation, margins, output file)
    // before answering it, when set.
    std::function<void(QPrinter &)> printerChoice;

    QList<ShownDialog> shown;
    QList<FileDialogRequest> fileRequests;
    // Called while a message or error box "is open", to look at the program at that moment.
    std::function<void(const ShownDialog &)> whileShown;

    QStringList texts(ShownDialog::Kind kind) const;
    QStringList messages() const { return texts(ShownDialog::Message); }
    QStringList errors() const { return texts(ShownDialog::Error); }
    void clear() { shown.clear(); fileRequests.clear(); }

    void message(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text, const QString &caption) override;
    std::optional<QString> textInput(
        QWidget *parent, const QString &caption, const QString &label, const QString &text) override;
    QString openFileName(QWidget *parent, FileDialogRequest &request) override;
    QString saveFileName(QWidget *parent, FileDialogRequest &request) override;
    QStringList openFileNames(QWidget *parent, FileDialogRequest &request) override;
    bool printerSetup(QWidget *parent, QPrinter &printer) override;
    bool print(QWidget *parent, QPrinter &printer) override;

private:
    void record(ShownDialog::Kind kind, const QString &text, const QString &caption = {});
    QString nextFile(FileDialogRequest &request);
    bool answerPrinterDialog(QPrinter &printer);
};

} // namespace luvir::test
