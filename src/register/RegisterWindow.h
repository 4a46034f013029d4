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

#include <QMainWindow>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QSortFilterProxyModel;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace luvir {

class Register;
class RegisterMeasurementModel;

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

    // The node whose measurements are listed.
    void selectNode(NodeKind kind, RegisterId id = 0);
    NodeKind selectedKind() const;
    RegisterId selectedId() const;
    // The tree's text of a node ("Колонна К-3 (12)"), empty when there is none.
    QString nodeText(NodeKind kind, RegisterId id = 0) const;

    // The measurements listed, in the table's order, and the selected ones.
    QList<RegisterMeasurement> listedMeasurements() const;
    QList<RegisterMeasurement> selectedMeasurements() const;
    void selectRows(const QList<int> &rows); // rows of the table as sorted

    // The commands; each tells the user when the register refuses.
    bool assignSelected(RegisterId structureId);
    bool unassignSelected();
    bool removeSelected(); // asks first
    RegisterId createObject(const QString &name);
    RegisterId createStructure(RegisterId objectId, const QString &name);
    bool renameSelectedNode(const QString &name);
    // "Свойства…": the selected object's or structure's fields in a dialog, written back
    // when it is confirmed (refused, and said, when another changed the record meanwhile).
    bool editSelectedNode();
    bool deleteSelectedNode(); // asks first when it holds measurements
    void showStatistics();
    void openSelectedInTable();
    // The structures a protocol of the selected node is made of: the selected structure, or
    // the selected object's structures that hold measurements; none for "Не распределены".
    QList<RegisterId> protocolStructures() const;
    // "Протокол испытаний…": asks for the protocol of protocolStructures(), or tells the
    // user why there is none.
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
    QAction *AssignAction = nullptr;
    QAction *UnassignAction = nullptr;
    QAction *RemoveAction = nullptr;
    QAction *StatisticsAction = nullptr;
    QAction *OpenInTableAction = nullptr;
    QAction *ProtocolAction = nullptr;
    QAction *PropertiesAction = nullptr;

signals:
    // "Открыть в таблице": at most an archive's 999, in time order.
    void openInTable(const QList<luvir::Measurement> &measurements);
    // "Протокол испытаний…": structures of one object, each holding measurements.
    void protocolRequested(const QList<luvir::RegisterId> &structureIds);

private:
    // What each tree item holds beside its text: its NodeKind and its register id.
    static constexpr int kKindRole = Qt::UserRole;
    static constexpr int kIdRole = Qt::UserRole + 1;

    void createActions();
    void createLayout();
    void fillTree();
    void listSelectedNode();
    void updateActions();
    bool done(bool ok); // tells the user when !ok, then refreshes
    void askAndAssign();
    void askAndCreateObject();
    void askAndCreateStructure();
    void askAndRename();
    QTreeWidgetItem *findItem(NodeKind kind, RegisterId id) const;

    Register *m_register = nullptr;
    RegisterMeasurementModel *m_model = nullptr;
    QSortFilterProxyModel *m_sorted = nullptr;
};

} // namespace luvir
