#pragma once
// «Градуировка»: the register's calibration sets. Left, the sets; right, the chosen set's
// sites with what Kc or the own dependency made of each, the figures under them and the
// chart of the sites and the line. Sites are added from the measurements selected in the
// register window (their direct strengths typed) or typed from paper; the result is given
// to a structure, whose measurements the register window then shows with the strength by
// it. The window is in two files: this one's layout, keys and states, and the commands
// (CalibrationWindowCommands.cpp). Everything it shows is computed by src/calib. Its changes
// are written on a thread of their own (RegisterWriter), so that a register another program
// holds keeps them waiting without the window standing still; what it shows is read on its
// own thread.

#include "CalibChartContent.h"
#include "CalibOutcome.h"
#include "UserDialogs.h"

#include <QMainWindow>
#include <QPrinter>

#include <functional>
#include <optional>

class QAbstractItemView;
class QAction;
class QChartView;
class QCheckBox;
class QComboBox;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QTableView;

namespace luvir {

class CalibSitesDialog;
class CalibSiteModel;
class Register;
class RegisterWindow;
class RegisterWriter;

class CalibrationWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit CalibrationWindow(QWidget *parent = nullptr);

    // The register shown (not owned); null: none is open.
    void setRegister(Register *shown);
    // Sites are added from the measurements selected in `window`, which is read again once a
    // dependency was given to a structure or taken from it.
    void attach(RegisterWindow &window);
    // Reads the sets again, keeping the chosen one.
    void refresh();

    void selectSet(RegisterId id);
    RegisterId selectedSet() const;
    const QList<CalibrationSet> &sets() const { return m_sets; }
    void setKind(DependencyKind kind);
    DependencyKind kind() const;

    // What is shown of the chosen set.
    const CalibOutcome &outcome() const { return m_outcome; }
    const CalibChartContent &chartContent() const { return m_chart; }
    QStringList figureLines() const;

    // The commands; each tells the user when the register refuses.
    void askAndCreateSet();
    bool editSet(); // «Свойства набора…»
    bool removeSet(); // asks first
    // The direct strengths of the measurements selected in the register window, typed in a
    // dialog, added to the set.
    bool addSelectedMeasurements();
    bool addTypedSite();
    bool removeSite(); // the current row's; asks first
    void savePicture();
    void printChart();
    // «Применить к конструкции…»: what is shown, given to the structure (asked with the
    // structure chooser); refused, with the reasons, when it is not accepted or established.
    bool applyToStructure(RegisterId structureId);
    // «Снять с конструкции…»: the structure's dependency taken away, after the question.
    bool removeFromStructure(RegisterId structureId);

    QListWidget *SetList = nullptr;
    QTableView *SiteTable = nullptr;
    QComboBox *KindChoice = nullptr;
    QCheckBox *Newest20 = nullptr;
    QPlainTextEdit *Figures = nullptr;
    QChartView *ChartView = nullptr;
    QAction *NewSetAction = nullptr;
    QAction *SetPropertiesAction = nullptr;
    QAction *RemoveSetAction = nullptr;
    QAction *AddMeasurementsAction = nullptr;
    QAction *AddTypedSiteAction = nullptr;
    QAction *RemoveSiteAction = nullptr;
    QAction *SavePictureAction = nullptr;
    QAction *PrintAction = nullptr;
    QAction *ApplyAction = nullptr;
    QAction *RemoveDependencyAction = nullptr;
    QAction *RefreshAction = nullptr;
    // The context menus of the sets, the sites and the chart (the right button, Shift+F10,
    // the menu key).
    QMenu *SetMenu = nullptr;
    QMenu *SiteMenu = nullptr;
    QMenu *ChartMenu = nullptr;

signals:
    // A structure was given a dependency or had it taken: its strengths shown change.
    void dependencyChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override; // not while a change is written

private:
    void createActions();
    void createLayout();
    void createMenus();
    void showContextMenu(QMenu *menu, QWidget *view, QPoint at);
    void fillSets();
    // Reads the chosen set's sites and computes them as chosen.
    void showSet();
    void showChart();
    void updateActions();
    // Runs `change` on the writer's thread: the wait cursor and "Запись в журнал…" meanwhile,
    // every command disabled; the window answers. False, with the register's reason in
    // `error`, when it was refused; false and no reason when nothing was started (no register,
    // another change still written, the window gone meanwhile).
    bool writeApart(const std::function<bool(Register &)> &change, QString &error);
    // Tells the user `error` when !ok, then refreshes.
    bool done(bool ok, const QString &error);
    void tellRefusal(const QString &error);
    // The sites typed in `dialog` added to set `setId` as one change; the dialog offered again
    // as typed while the register refuses them and the set is still there.
    bool addSitesFrom(CalibSitesDialog &dialog, RegisterId setId);
    QList<RegisterMeasurement> selectedInRegister() const;
    // The structure chooser captioned `caption`, starting on the one chosen last; 0 when
    // cancelled.
    RegisterId chooseStructure(const QString &caption);
    // The chosen set as the window computes it, ready to be given to a structure; none, the
    // user told why, when it cannot be applied (or nothing is open, or a change is written).
    std::optional<DependencyApplication> applicable();
    // "«Колонна К-3» (объект «Дом 5»)".
    QString structureName(const RegisterStructure &structure);

    Register *m_register = nullptr;
    RegisterWindow *m_registerWindow = nullptr;
    QList<CalibrationSet> m_sets;
    CalibSiteModel *m_model = nullptr;
    CalibOutcome m_outcome;
    CalibChartContent m_chart;
    QString m_separator;
    FileDialogRequest m_pictureRequest;
    QPrinter m_printer;
    RegisterId m_lastStructure = 0;
    RegisterWriter *m_writer = nullptr;
    bool m_writing = false; // a change is being written: the commands wait
};

} // namespace luvir
