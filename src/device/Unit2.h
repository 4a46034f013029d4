#pragma once
// The download dialog: asks the meter for its protocol version and archive size on
// showing, then reads the whole archive with a progress bar and hands it to the table.

#include "ArchiveDownload.h"
#include "ArchiveView.h"
#include "DeviceLink.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QShowEvent;

// TForm2: the download dialog "Прием данных".
class TForm2 : public QDialog, private luvir::DownloadReporter
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
    void showStatus(const QString &text) override;
    void meterAnswered() override;
    void cellsToRead(int cells) override;
    void readingCell(int number) override;

    luvir::ArchiveView &m_view;
    // What this showing has read so far; the open archive changes only when a download completes.
    luvir::ArchiveDownload m_download;
};
