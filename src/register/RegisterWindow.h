#pragma once
// "Журнал испытаний": the register's window. Left, the tree Объекты › Конструкции with
// "Не распределены" on top and a count beside each node; right, the measurements of the
// selected node with the main table's texts, Участок (edited in place) and Источник,
// filtered by dates and element kind. Every change goes through the register library.
// The window is in four files: this one's layout and command states, the tree
// (RegisterWindowTree.cpp), the table (RegisterWindowTable.cpp) and the commands
// (RegisterWindowCommands.cpp).

#include "Measurement.h"
#include "RegisterTypes.h"

#include <QHash>
#include <QMainWindow>
#include <QSet>

#include <functional>

class QAbstractItemView;
class QCloseEvent;
class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QKeyEvent;
class QLabel;
class QMenu;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace luvir {

class Register;
class RegisterMeasurementModel;
class RegisterMeasurementSorter;
class RegisterWriter;
class StatsWindow;

class RegisterWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum class NodeKind { Unassigned = 0, Object = 1, Structure = 2 };

    explicit RegisterWindow(QWidget *parent = nullptr);

    // The register shown (not owned); null: none is open.
    void setRegister(Register *shown);
    // Reads everything again, keeping the selected node.
    void refresh();
    // What the user's last addition to the register did in this run, as a whole ("Журнал:
    // добавлено N, уже были M" over every file of it); empty until one was made.
    void showAddition(const QString &summary);

    // The node whose measurements are listed.
    void selectNode(NodeKind kind, RegisterId id = 0);
    // Several structures at once (as Ctrl or Shift would select them): their measurements
    // are listed together, and a protocol is made of them when they are of one object.
    void selectStructures(const QList<RegisterId> &ids);
    NodeKind selectedKind() const;
    RegisterId selectedId() const;
    // The tree's text of a node ("Колонна К-3 (12)"), empty when there is none.
    QString nodeText(NodeKind kind, RegisterId id = 0) const;

    // The measurements listed, in the table's order (every one, read to the end first), and
    // the selected ones.
    QList<RegisterMeasurement> listedMeasurements() const;
    QList<RegisterMeasurement> selectedMeasurements() const;
    // The same in the table's order, top to bottom.
    QList<RegisterMeasurement> selectedMeasurementsAsShown() const;
    void selectRows(const QList<int> &rows); // rows of the table as sorted

    // The commands; each tells the user when the register refuses. Each writes from the
    // records as the window read them: a record another window or program changed since is
    // not overwritten, the user is told "запись изменена…" and the window reads again.
    bool assignSelected(RegisterId structureId);
    bool unassignSelected();
    bool removeSelected(); // asks first
    // The selected measurements' sites, top to bottom, from `first` on in steps: "1, 2, 3…"
    // or "2а, 2б…" (see siteSeries).
    bool fillSites(const QString &first);
    RegisterId createObject(const QString &name);
    RegisterId createStructure(RegisterId objectId, const QString &name);
    bool renameSelectedNode(const QString &name);
    // "Свойства…": the selected object's or structure's fields in a dialog, written back
    // when it is confirmed (refused, and said, when another changed the record meanwhile).
    bool editSelectedNode();
    bool deleteSelectedNode(); // asks first when it holds measurements
    void showStatistics();
    void openSelectedInTable();
    // The structures a protocol of the selected nodes is made of: the selected structures,
    // or the selected object's structures, that hold measurements; none for "Не распределены".
    QList<RegisterId> protocolStructures() const;
    // "Протокол испытаний…": asks for the protocol of protocolStructures(), or tells the
    // user why there is none (no measurements, or structures of several objects).
    void requestProtocol();

    RegisterMeasurementModel *model() const { return m_model; }
    QTreeWidget *Tree = nullptr;
    QTableView *Table = nullptr;
    QCheckBox *FromOn = nullptr;
    QDateEdit *FromDate = nullptr;
    QCheckBox *ToOn = nullptr;
    QDateEdit *ToDate = nullptr;
    QComboBox *KindFilter = nullptr;
    QLabel *AdditionLabel = nullptr;
    QLabel *CountLabel = nullptr; // how many the list holds, read or not: "Измерений: N"
    QAction *AssignAction = nullptr;
    QAction *UnassignAction = nullptr;
    QAction *RemoveAction = nullptr;
    QAction *StatisticsAction = nullptr;
    QAction *OpenInTableAction = nullptr;
    QAction *ProtocolAction = nullptr;
    QAction *PropertiesAction = nullptr;
    QAction *FillSitesAction = nullptr;
    QAction *NewObjectAction = nullptr;
    QAction *NewStructureAction = nullptr;
    QAction *RenameAction = nullptr;
    QAction *DeleteNodeAction = nullptr;
    QAction *RefreshAction = nullptr;
    QAction *CalibrationAction = nullptr; // «Градуировка»
    // The context menus of the tree and of the table (the right button, Shift+F10, the menu key).
    QMenu *TreeMenu = nullptr;
    QMenu *TableMenu = nullptr;

signals:
    // "Открыть в таблице": at most an archive's 999, in time order.
    void openInTable(const QList<luvir::Measurement> &measurements);
    // "Протокол испытаний…": structures of one object, each holding measurements.
    void protocolRequested(const QList<luvir::RegisterId> &structureIds);
    // «Градуировка»: the calibration sets of the register shown.
    void calibrationRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override; // not while a change is written

private:
    // For the structures among `listed` given a calibration, the statistics by it: a group
    // each after the measurements' own, with the calibration named under the table.
    void showStatisticsByCalibration(StatsWindow &window, const QList<RegisterMeasurement> &listed);
    // What each tree item holds beside its text: its NodeKind and its register id.
    static constexpr int kKindRole = Qt::UserRole;
    static constexpr int kIdRole = Qt::UserRole + 1;

    void createActions();
    void createLayout();
    void createMenus();
    // The strength by the calibration dependency beside R (RegisterWindowDependency.cpp).
    void setUpDependencyColumn();
    void showContextMenu(QMenu *menu, QAbstractItemView *view, QPoint at); // `at` in its viewport
    // The site editing of the table: typing on a row edits its label, Enter stores it and
    // goes to the next row.
    bool startSiteEdit(QKeyEvent *key);
    void moveToNextRow();
    // The tree's items whose measurements are listed: the selected ones, or the current.
    QList<QTreeWidgetItem *> chosenItems() const;
    QList<RegisterId> chosenStructures() const;
    void fillTree();
    void listSelectedNode();
    // Reads the rows of the list not read yet (with the wait cursor), before anything that
    // acts on the whole list; false when the register failed, now or earlier (told).
    bool readWholeList() const;
    // Selects again the rows of the measurements `ids` (and makes `current`'s the current
    // row, in `column`), reading on as far as they are but never past the `readBefore` rows
    // read before: what the user had selected stays selected when the list is read anew.
    void selectMeasurementsAgain(const QSet<RegisterId> &ids, RegisterId current, int column, int readBefore);
    void updateActions();
    bool done(bool ok, const QString &error); // tells the user the error when !ok, then refreshes
    // Runs a change on the writer's thread, the window answering meanwhile with the wait
    // cursor, a line in its status and its commands disabled; its refusal in `error`.
    bool writeApart(const std::function<bool(Register &)> &change, QString &error);
    // writeApart(), then done() with its result.
    bool written(const std::function<bool(Register &)> &change);
    // After each read of the register: remembers a failure (told by endReads).
    void noteRead();
    // Reads of one user action: a failure among them is told once, when the outermost ends;
    // the same failure is not told again until an action reads without one.
    void beginReads();
    void endReads();
    void askAndAssign();
    void askAndCreateObject();
    void askAndCreateStructure();
    void askAndRename();
    void askAndFillSites();
    QTreeWidgetItem *findItem(NodeKind kind, RegisterId id) const;

    Register *m_register = nullptr;
    RegisterMeasurementModel *m_model = nullptr;
    RegisterMeasurementSorter *m_sorted = nullptr;
    // The objects and structures as the tree shows them (their revisions as read).
    QHash<RegisterId, RegisterObject> m_objects;
    QHash<RegisterId, RegisterStructure> m_structures;
    RegisterId m_lastStructure = 0; // the last one measurements were assigned to
    RegisterWriter *m_writer = nullptr;
    bool m_writing = false; // a change is being written: the commands wait
    int m_reads = 0; // depth of beginReads()
    QString m_readError; // the first failed read of this action
    QString m_toldReadError; // told already; forgotten once an action reads without failure
    bool m_refreshAfterWrite = false; // asked to read again while a change was written
};

} // namespace luvir
