#pragma once
// The download dialog: asks the meter for its protocol version and archive size on
// showing, then reads the whole archive with a progress bar and hands it to the table.

#include "ArchiveView.h"
#include "CellArchive.h"
#include "CommandReporter.h"
#include "DeviceLink.h"

#include <QDialog>

#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QShowEvent;

// TForm2: the download dialog "Прием данных".
class TForm2 : public QDialog, private luvir::CommandReporter
{
    Q_OBJECT

public:
    TForm2(luvir::DeviceLink &link, luvir::ArchiveView &view, QWidget *parent = nullptr);

    // Runs on every showing: asks for the version and the size, blanks the table's rows.
    void FormShow();
    // "Скачать": reads the whole archive and, once every cell is in, replaces the open one.
    void Button1Click();
    // "Отмена": closes the dialog.
    void Button2Click();

    QLabel *Label1; // Label1: "Статус:"
    QLabel *Label8; // Label8: the dialog's own status line
    QProgressBar *ProgressBar1; // ProgressBar1: download progress
    QLabel *Label2; // Label2: "Тип прибора:"
    QLabel *Label5; // Label5: the device type
    QLabel *Label3; // Label3: "Версия:"
    QLabel *Label6; // Label6: the protocol version
    QLabel *Label4; // Label4: "Количество измерений:"
    QLabel *Label7; // Label7: the archive size
    QPushButton *Button1; // Button1: "Скачать"
    QPushButton *Button2; // Button2: "Отмена"

protected:
    void showEvent(QShowEvent *event) override;

private:
    void reportFailure(const QString &text) override;
    void showMessage(const QString &text) override;
    void showProtocolVersion(const QString &text) override;
    void showArchiveSize(const QString &text) override;

    void setStatus(const QString &text);
    // A message box, then the same text in the main window's status line.
    void report(const QString &text);
    void commitDownload();

    luvir::DeviceLink &m_link;
    luvir::ArchiveView &m_view;
    // What this showing has read so far; the open archive changes only when a download completes.
    luvir::CellArchive m_stagedArchive;
    std::optional<luvir::ProtocolVersion> m_stagedVersion; // unknown until a showing asks
};
