#include "ScriptedDialogs.h"

namespace luvir::test {

QStringList ScriptedDialogs::texts(ShownDialog::Kind kind) const
{
    QStringList result;
    for (const ShownDialog &d : shown)
        if (d.kind == kind)
            result << d.text;
    return result;
}

void ScriptedDialogs::record(ShownDialog::Kind kind, const QString &text, const QString &caption)
{
    shown.append({kind, text, caption});
    if (whileShown)
        whileShown(shown.constLast());
}

void ScriptedDialogs::message(QWidget *, const QString &text)
{
    record(ShownDialog::Message, text, kAppTitle);
}

void ScriptedDialogs::error(QWidget *, const QString &text)
{
    record(ShownDialog::Error, text, kAppTitle);
}

bool ScriptedDialogs::question(QWidget *, const QString &text, const QString &caption)
{
    record(ShownDialog::Question, text, caption);
    return !questionAnswers.isEmpty() && questionAnswers.takeFirst();
}

std::optional<QString> ScriptedDialogs::textInput(
    QWidget *, const QString &caption, const QString &, const QString &text)
{
    record(ShownDialog::TextInput, text, caption);
    const QString answer = textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
    return answer.isNull() ? std::nullopt : std::optional<QString>(answer);
}

QString ScriptedDialogs::nextFile(FileDialogRequest &request)
{
    fileRequests.append(request);
    const QString answer = fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    if (!answer.isEmpty() && !fileFilterAnswer.isEmpty())
        request.selectedFilter = fileFilterAnswer;
    return answer;
}

QString ScriptedDialogs::openFileName(QWidget *, FileDialogRequest &request)
{
    record(ShownDialog::OpenFile, request.filter);
    return nextFile(request);
}

QString ScriptedDialogs::saveFileName(QWidget *, FileDialogRequest &request)
{
    record(ShownDialog::SaveFile, request.filter);
    return nextFile(request);
}

QStringList ScriptedDialogs::openFileNames(QWidget *, FileDialogRequest &request)
{
    record(ShownDialog::OpenFile, request.filter);
    const QString answer = nextFile(request);
    return answer.isEmpty() ? QStringList() : answer.split(u'\n');
}

bool ScriptedDialogs::answerPrinterDialog(QPrinter &printer)
{
    const bool confirmed = !printerAnswers.isEmpty() && printerAnswers.takeFirst();
    if (confirmed && printerChoice)
        printerChoice(printer);
    return confirmed;
}

bool ScriptedDialogs::printerSetup(QWidget *, QPrinter &printer)
{
    record(ShownDialog::PrinterSetup, {});
    return answerPrinterDialog(printer);
}

bool ScriptedDialogs::print(QWidget *, QPrinter &printer)
{
    record(ShownDialog::Print, {});
    return answerPrinterDialog(printer);
}

} // namespace luvir::test
