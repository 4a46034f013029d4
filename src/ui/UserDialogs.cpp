#include "UserDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QSettings>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace luvir {

namespace {

// A box as narrow as a short message would cut its caption down to "..."; keep it wide
// enough for the caption to show.
void keepCaptionVisible(QMessageBox &box)
{
    auto *layout = qobject_cast<QGridLayout *>(box.layout());
    if (!layout)
        return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 140;
    layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                    layout->rowCount(), 0, 1, layout->columnCount());
}

// The folder Qt's file dialog was last in, in this run or an earlier one of any Qt
// program: the dialog writes it into its own settings as it closes, but a dialog opened
// in a new run starts in the current folder. The program keeps no memory of its own.
QString rememberedFolder()
{
    QSettings qtSettings(QSettings::UserScope, QStringLiteral("QtProject"));
    const QUrl folder = qtSettings.value(QStringLiteral("FileDialog/lastVisited")).toUrl();
    return folder.isLocalFile() && QFileInfo(folder.toLocalFile()).isDir() ? folder.toLocalFile() : QString();
}

class QtDialogs final : public UserDialogs
{
public:
    void message(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, kAppTitle, text, QMessageBox::Ok, parent);
        keepCaptionVisible(box);
        box.exec();
    }

    void error(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::Critical, kAppTitle, text, QMessageBox::Ok, parent);
        keepCaptionVisible(box);
        box.exec();
    }

    bool question(QWidget *parent, const QString &text, const QString &caption) override
    {
        QMessageBox box(QMessageBox::Question, caption, text,
                        QMessageBox::Ok | QMessageBox::Cancel, parent);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        keepCaptionVisible(box);
        return box.exec() == QMessageBox::Ok;
    }

    std::optional<QString> textInput(
        QWidget *parent, const QString &caption, const QString &label, const QString &text) override
    {
        QInputDialog dialog(parent);
        dialog.setWindowTitle(caption);
        dialog.setLabelText(label);
        dialog.setTextValue(text);
        // As wide as the caption with the frame's icon and buttons, so that no window manager
        // cuts it. The box sizes itself to its contents, so the text field is made that wide.
        if (auto *edit = dialog.findChild<QLineEdit *>())
            edit->setMinimumWidth(std::max(340, dialog.fontMetrics().horizontalAdvance(caption) + 140));
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    }

    QString openFileName(QWidget *parent, FileDialogRequest &request) override
    {
        return run(parent, request, QFileDialog::AcceptOpen);
    }

    QString saveFileName(QWidget *parent, FileDialogRequest &request) override
    {
        return run(parent, request, QFileDialog::AcceptSave);
    }

    QStringList openFileNames(QWidget *parent, FileDialogRequest &request) override
    {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setNameFilter(request.filter);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        if (const QString folder = rememberedFolder(); !folder.isEmpty())
            dialog.setDirectory(folder);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        dialog.setDirectory(QFileInfo(dialog.selectedFiles().constFirst()).absolutePath());
        return dialog.selectedFiles();
    }

    bool printerSetup(QWidget *parent, QPrinter &printer) override
    {
        QPageSetupDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

    bool print(QWidget *parent, QPrinter &printer) override
    {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    static QString run(QWidget *parent, FileDialogRequest &request, QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(mode);
        dialog.setNameFilter(request.filter);
        dialog.setDefaultSuffix(request.defaultSuffix);
        // Neither dialog asks before replacing, nor insists that the file exist.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.selectedFilter.isEmpty())
            dialog.selectNameFilter(request.selectedFilter);
        // A dialog without a folder of its own starts where the user last was.
        if (request.fileName.isEmpty() || QFileInfo(request.fileName).isRelative())
            if (const QString folder = rememberedFolder(); !folder.isEmpty())
                dialog.setDirectory(folder);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        request.selectedFilter = dialog.selectedNameFilter();
        const QString chosen = dialog.selectedFiles().constFirst();
        // The chosen file's folder is where the user was, also when the name was typed with
        // its folder; the dialog notes it as it closes.
        dialog.setDirectory(QFileInfo(chosen).absolutePath());
        return chosen;
    }
};

QtDialogs &qtDialogs()
{
    static QtDialogs instance;
    return instance;
}

UserDialogs *g_replacement = nullptr;

} // namespace

UserDialogs &dialogs()
{
    return g_replacement ? *g_replacement : qtDialogs();
}

void setDialogs(UserDialogs *replacement)
{
    g_replacement = replacement;
}

void tellUser(QWidget *parent, StatusLine *status, const QString &text)
{
    dialogs().message(parent, text);
    if (status)
        status->setStatus(text);
}

void reportException(QWidget *parent, const std::exception_ptr &exception)
{
    QString text;
    try {
        std::rethrow_exception(exception);
    } catch (const std::exception &e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        // A thrown value that is no exception object is shown with an empty text.
    }
    dialogs().error(parent, text);
}

} // namespace luvir
