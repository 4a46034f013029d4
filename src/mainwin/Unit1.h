#pragma once
// The main window: menus, toolbar, the measurement table and the status bar; every
// command starts here.

#include "ArchiveView.h"
#include "CellArchive.h"
#include "DeviceLink.h"
#include "Measurement.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QDialog;
class QTableView;
class QToolBar;
class QToolButton;
class QUrl;
class TForm2;
class TForm5;

namespace luvir {
class Register;
class MeasurementTableModel;
class StatusPanels;
struct MeasurementTable;
} // namespace luvir

// TForm1: the main window.
class TForm1 : public QMainWindow, public luvir::ArchiveView
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // ArchiveView
    luvir::ArchiveSession &session() override { return m_session; }
    const luvir::ArchiveSession &session() const { return m_session; }
    void blankTableRows() override;
    void DisplayArchive() override;
    void setStatus(const QString &text) override;
    luvir::DownloadRecorder *downloadRecorder() override;
    void downloadRecorded(const luvir::DownloadRecord &record) override;

    // Whether every completed download goes into the register (on unless turned off).
    bool registersDownloads() const { return m_registerDownloads; }
    void setRegistersDownloads(bool on) { m_registerDownloads = on; }
    // Makes `measurements` (at most an archive's 999, in the order given) the open archive,
    // as File > Open does with a file: "Открыть в таблице" of the register window.
    void openMeasurements(const QList<luvir::Measurement> &measurements);
    // How Журнал > Журнал испытаний shows the register window (start-up sets it).
    void setRegisterWindowOpener(std::function<void()> opener);

    // The program-wide connection to the meter.
    luvir::DeviceLink &deviceLink() { return m_link; }
    const luvir::MeasurementTable &table() const;
    QString statusText(int panel) const;
    // The application's help-file path, recorded by FormCreate (luvir.chm in the
    // executable's own folder); Help opens the file recorded here.
    static QString helpFile();
    static void setHelpFile(const QString &fileName);
    // How Help asks the desktop to open a document; tests replace it (nullptr: the desktop).
    static void setDocumentOpener(std::function<bool(const QUrl &)> opener);

    // The lasting windows this window opens: the download dialog (Form2), the About window
    // (Form4) and the chart window (Form5). Start-up creates them after this window and
    // hands them over at once; the commands that open them take them as given.
    void setLastingWindows(TForm2 &download, QDialog &about, TForm5 &chart);

    // The two command states.
    void DisableArchiveCommands();
    void EnableArchiveCommands();

    // Command handlers.
    void N13Click();           // Данные > Скачать архив
    void LoadArchiveExecute(); // Файл > Открыть
    void SaveArchiveExecute(); // Файл > Сохранить
    void N4Click();            // Файл > Закрыть
    void N8Click();            // Файл > Выход
    void ToolButton6Click();   // print the report
    void ToolButton8Click();   // delete the current row
    void N10Click();           // Справка > Помощь
    void N15Click();           // Справка > О программе
    void MeasurementsChartClick(); // Данные > Диаграмма измерений
    void StatisticsClick();        // Данные > Статистика
    void StringGrid1DblClick();
    void StringGrid1KeyDown(int key, Qt::KeyboardModifiers shift);
    void StringGrid1SelectCell(int column, int row);
    void ShowIntermediateChart();
    void RegisterWindowClick();          // Журнал > Журнал испытаний
    void AddDownloadsClick(bool on);     // Журнал > Добавлять скачанные в журнал
    void AddArchivesToRegisterClick();   // Журнал > Добавить архивы в журнал…
    void OpenRegisterClick();            // Журнал > Открыть журнал…
    void CreateRegisterClick();          // Журнал > Создать журнал…
    void BackupRegisterClick();          // Журнал > Сохранить копию журнала…
    void ConnectRegisterServerClick();   // Журнал > Подключиться к серверу…
    void FormResize();

    // The current data row of the table (1-based), 0 when there is none.
    int currentRow() const;
    void selectRow(int row);

    // Named controls, reachable by tests as a user reaches them.
    QAction *N2 = nullptr;  // Файл > Открыть
    QAction *N3 = nullptr;  // Файл > Сохранить
    QAction *N4 = nullptr;  // Файл > Закрыть
    QAction *N6 = nullptr;  // Файл > Печать
    QAction *N8 = nullptr;  // Файл > Выход
    QAction *N10 = nullptr; // Справка > Помощь
    QAction *N11 = nullptr; // Правка > Удалить строку
    QAction *N13 = nullptr; // Данные > Скачать архив
    QAction *N14 = nullptr; // Данные > Диаграмма измерений
    QAction *N15 = nullptr; // Справка > О программе
    QAction *StatisticsItem = nullptr; // Данные > Статистика
    QAction *RegisterItem = nullptr;        // Журнал > Журнал испытаний
    QAction *RegisterInUseItem = nullptr;   // Журнал: which register is in use (not a command)
    QAction *AddDownloadsItem = nullptr;    // Журнал > Добавлять скачанные в журнал
    QAction *AddArchivesItem = nullptr;     // Журнал > Добавить архивы в журнал…
    QAction *OpenRegisterItem = nullptr;    // Журнал > Открыть журнал…
    QAction *CreateRegisterItem = nullptr;  // Журнал > Создать журнал…
    QAction *ConnectServerItem = nullptr;   // Журнал > Подключиться к серверу…
    QAction *BackupRegisterItem = nullptr;  // Журнал > Сохранить копию журнала…
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton1 = nullptr; // download
    QToolButton *ToolButton2 = nullptr; // open
    QToolButton *ToolButton3 = nullptr; // save
    QToolButton *ToolButton8 = nullptr; // delete row
    QToolButton *ToolButton6 = nullptr; // print
    QToolButton *ToolButton9 = nullptr; // help
    QToolButton *StatisticsButton = nullptr; // the statistics of the measurements
    QToolButton *RegisterButton = nullptr; // the register window
    QWidget *Panel1 = nullptr;          // holds the table
    QTableView *StringGrid1 = nullptr;  // the measurement table
    luvir::StatusPanels *StatusBar1 = nullptr;

signals:
    // File > Exit asks the application to end.
    void terminateRequested();
    // Another register is in use, or measurements were added to it from here.
    void registerChanged();
    // Measurements were added to the register from here: the action's summary as a whole.
    void registerAdded(const QString &summary);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void createMenus();
    void createToolBar();
    void createTable();
    // Design size and place of the window when it is not maximised.
    void placeRestored();
    void centreRestoredOnDesktop();
    // The commands that exist only while an archive is shown, enabled or not.
    void setArchiveCommandsEnabled(bool enabled);
    // Runs a handler; an exception that escapes it is shown in the error box.
    void run(const std::function<void()> &handler);
    // Save as File > Save does it; throws when the file cannot be written.
    void saveArchive();
    // Opens (or creates) the register file and makes it the one in use, or says why not.
    // Opens the register `fileName` and uses it from now on; `create`: makes it when there is none.
    void useRegister(const QString &fileName, bool create);
    // The connect dialog over `parent`, filled with `location` when it is a server's: opens
    // `target` and makes it the register in use; false when cancelled.
    bool connectRegisterServer(luvir::Register &target, const QString &location, QWidget *parent);
    static QString registerInUseText();
    // Ends the download dialog when it is showing.
    void closeDownloadDialog();

    luvir::ArchiveSession m_session;
    luvir::DeviceLink m_link;
    std::unique_ptr<luvir::DownloadRecorder> m_registerRecorder; // the register last used
    bool m_registerDownloads = true;
    std::function<void()> m_registerWindowOpener;
    luvir::MeasurementTableModel *m_model = nullptr;
    TForm2 *m_downloadDialog = nullptr; // Form2
    QDialog *m_aboutWindow = nullptr; // Form4
    TForm5 *m_chartWindow = nullptr; // Form5
    QSize m_restoredSize; // the design size, menu bar included
    bool m_centreWithFrame = true; // the restored place still awaits the real frame
    QString m_lastOpenName;
    QString m_lastSaveName;
    bool m_quietSelection = false; // table changes that must not count as a selection
};
