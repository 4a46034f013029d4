// The register window's commands: assigning, removing, the objects and structures, the
// statistics, the main table and the protocol. Each goes through the register library and
// tells the user when the register refuses.
#include "RegisterWindow.h"

#include "AppliedDependencyText.h"
#include "CellText.h"
#include "Register.h"
#include "RegisterMeasurementModel.h"
#include "RegisterCalibration.h"
#include "RegisterNodeDialog.h"
#include "RegisterQuery.h"
#include "RegisterStructureChooser.h"
#include "RegisterWriteWait.h"
#include "RegisterWriter.h"
#include "SeriesFigures.h"
#include "SiteSeries.h"
#include "StatsWindow.h"
#include "UserDialogs.h"

#include <QPointer>
#include <QSet>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>

namespace luvir {

bool RegisterWindow::writeApart(const std::function<bool(Register &)> &change, QString &error)
{
    if (!m_register || m_writing)
        return false;
    const QAbstractItemView::EditTriggers editing = Table->editTriggers();
    const WaitedWrite outcome = writeWhileWaiting(*this, *m_writer, *m_register, change,
        [this, editing](bool writing) {
            m_writing = writing;
            Table->setEditTriggers(writing ? QAbstractItemView::NoEditTriggers : editing);
            updateActions();
        },
        error);
    if (outcome == WaitedWrite::WindowGone)
        return false;
    const bool ok = outcome == WaitedWrite::Written;
    if (m_refreshAfterWrite) {
        // Asked meanwhile; read once the caller has taken the result.
        m_refreshAfterWrite = false;
        QMetaObject::invokeMethod(
            this, [this] { refresh(); }, Qt::QueuedConnection);
    }
    return ok;
}

bool RegisterWindow::written(const std::function<bool(Register &)> &change)
{
    const QPointer<RegisterWindow> self(this);
    QString error;
    const bool ok = writeApart(change, error);
    return self && done(ok, error); // a window deleted meanwhile tells nothing
}

bool RegisterWindow::done(bool ok, const QString &error)
{
    if (!ok && m_register && !error.isEmpty())
        tellUser(this, nullptr, QStringLiteral("Журнал: %1.").arg(error));
    refresh();
    return ok;
}

bool RegisterWindow::assignSelected(RegisterId structureId)
{
    const QList<RegisterMeasurement> selected = selectedMeasurements();
    if (!m_register || selected.isEmpty())
        return false;
    m_lastStructure = structureId;
    return written([&](Register &r) { return r.assignAsRead(selected, structureId); });
}

bool RegisterWindow::unassignSelected()
{
    const QList<RegisterMeasurement> selected = selectedMeasurements();
    return m_register && !selected.isEmpty()
        && written([&](Register &r) { return r.unassignAsRead(selected); });
}

bool RegisterWindow::fillSites(const QString &first)
{
    const QList<RegisterMeasurement> selected = selectedMeasurementsAsShown();
    if (!m_register || selected.isEmpty())
        return false;
    const QStringList sites = siteSeries(first.trimmed(), static_cast<int>(selected.size()));
    return written([&](Register &r) { return r.setSitesAsRead(selected, sites); });
}

bool RegisterWindow::removeSelected()
{
    const QList<RegisterMeasurement> selected = selectedMeasurements();
    if (!m_register || selected.isEmpty())
        return false;
    const QString question
        = QStringLiteral("Удалить из журнала выбранные измерения (%1)? Если они будут скачаны снова, "
                         "они не вернутся, а будут отмечены как «удалены ранее».")
              .arg(selected.size());
    if (!dialogs().question(this, question, QStringLiteral("Журнал испытаний")))
        return false;
    return written([&](Register &r) { return r.markRemovedAsRead(selected); });
}

RegisterId RegisterWindow::createObject(const QString &name)
{
    if (!m_register || name.trimmed().isEmpty())
        return 0;
    RegisterId id = 0;
    written([&](Register &r) { return (id = r.addObject({0, name.trimmed(), {}, {}, {}})) != 0; });
    selectNode(NodeKind::Object, id);
    return id;
}

RegisterId RegisterWindow::createStructure(RegisterId objectId, const QString &name)
{
    if (!m_register || objectId == 0 || name.trimmed().isEmpty())
        return 0;
    RegisterStructure structure;
    structure.objectId = objectId;
    structure.name = name.trimmed();
    RegisterId id = 0;
    written([&](Register &r) { return (id = r.addStructure(structure)) != 0; });
    selectNode(NodeKind::Structure, id);
    return id;
}

bool RegisterWindow::renameSelectedNode(const QString &name)
{
    if (!m_register || name.trimmed().isEmpty())
        return false;
    // The record as the tree shows it: a change another made since is not overwritten.
    const RegisterId id = selectedId();
    if (selectedKind() == NodeKind::Object && m_objects.contains(id)) {
        RegisterObject o = m_objects.value(id);
        o.name = name.trimmed();
        return written([&](Register &r) { return r.updateObject(o); });
    }
    if (selectedKind() == NodeKind::Structure && m_structures.contains(id)) {
        RegisterStructure s = m_structures.value(id);
        s.name = name.trimmed();
        return written([&](Register &r) { return r.updateStructure(s); });
    }
    return false;
}

bool RegisterWindow::editSelectedNode()
{
    if (!m_register || selectedKind() == NodeKind::Unassigned)
        return false;
    const RegisterId id = selectedId();
    // The record as it is now; a read that fails is told and nothing is written.
    beginReads();
    std::optional<RegisterObject> o;
    std::optional<RegisterStructure> s;
    if (selectedKind() == NodeKind::Object)
        o = m_register->object(id);
    else
        s = m_register->structure(id);
    noteRead();
    endReads();
    if (o) {
        RegisterNodeDialog dialog(*o, this);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const RegisterObject edited = dialog.object();
        return written([&](Register &r) { return r.updateObject(edited); });
    }
    if (s) {
        RegisterNodeDialog dialog(*m_register, *s, this); // refuses a concreting date after the first test
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const RegisterStructure edited = dialog.structure();
        return written([&](Register &r) { return r.updateStructure(edited); });
    }
    return false;
}

bool RegisterWindow::deleteSelectedNode()
{
    if (!m_register || selectedKind() == NodeKind::Unassigned)
        return false;
    const bool object = selectedKind() == NodeKind::Object;
    const RegisterId id = selectedId();
    // What is deleted, as the tree shows it; the measurements it holds as read now, before
    // the question. Anything another changes meanwhile stops the deletion.
    QList<RegisterStructure> structures;
    if (object) {
        for (const RegisterStructure &s : std::as_const(m_structures))
            if (s.objectId == id)
                structures << s;
    } else if (m_structures.contains(id)) {
        structures << m_structures.value(id);
    }
    QList<RegisterMeasurement> held;
    beginReads();
    bool readOk = true;
    for (const RegisterStructure &s : std::as_const(structures)) {
        held += m_register->measurements(MeasurementSelection::ofStructure(s.id));
        readOk = readOk && m_register->errorString().isEmpty();
        noteRead();
    }
    endReads();
    if (!readOk)
        return false; // told; what it holds is not known, so nothing is deleted
    const QString name = Tree->currentItem()->text(0);
    if (!held.isEmpty() || (object && !structures.isEmpty())) {
        const QString question = object
            ? QStringLiteral(
                "Удалить объект «%1» и его конструкции? Их измерения вернутся в «Не распределены».")
            : QStringLiteral("Удалить конструкцию «%1»? Её измерения вернутся в «Не распределены».");
        if (!dialogs().question(this, question.arg(name), QStringLiteral("Журнал испытаний")))
            return false;
    }
    const RegisterObject read = m_objects.value(id);
    QString error;
    const bool ok = writeApart(
        [&](Register &r) {
            return object ? r.removeObjectAsRead(read, structures, held)
                          : !structures.isEmpty() && r.removeStructureAsRead(structures.constFirst(), held);
        },
        error);
    if (ok)
        Tree->setCurrentItem(Tree->topLevelItem(0));
    return done(ok, error);
}

void RegisterWindow::showStatistics()
{
    const QList<RegisterMeasurement> listed = listedMeasurements();
    if (listed.isEmpty())
        return;
    auto *window = new StatsWindow(measurementsOf(listed), systemDecimalSeparator(), this);
    showStatisticsByCalibration(*window, listed);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Статистика измерений — %1")
                               .arg(Tree->currentItem() ? Tree->currentItem()->text(0) : QString()));
    window->show();
}

void RegisterWindow::showStatisticsByCalibration(StatsWindow &window, const QList<RegisterMeasurement> &listed)
{
    // The structures among the listed that were given a calibration, in the order listed.
    struct ByCalibration {
        RegisterId structureId = 0;
        QString name;
        AppliedDependency dependency;
    };
    QList<ByCalibration> given;
    QHash<RegisterId, RegisterId> structureOf; // measurement → structure
    QHash<RegisterId, AppliedDependency> dependencies = m_register->structureDependencies();
    for (const RegisterMeasurement &m : listed) {
        structureOf.insert(m.id, m.structureId);
        // Each structure once, at its first listed measurement.
        if (const auto found = dependencies.find(m.structureId); found != dependencies.end()) {
            given << ByCalibration {m.structureId, m.structureName, *found};
            dependencies.erase(found);
        }
    }
    if (given.isEmpty())
        return;
    const QString separator = systemDecimalSeparator();
    QStringList lines;
    for (const ByCalibration &structure : given) {
        QList<ArchiveCell> cells;
        for (const RegisterMeasurement &m : listed)
            if (m.structureId == structure.structureId)
                cells << m.cell;
        const DependencySeries series = dependencySeries(structure.dependency, cells);
        lines << QStringLiteral("«%1»:").arg(structure.name);
        lines += appliedDependencyLines(structure.dependency, separator);
        lines << dependencyConditionsText(
                     structure.dependency, series.outside, static_cast<int>(series.tenths.size()), separator);
    }
    const bool several = given.size() > 1;
    window.setExtraGroups(
        [given, structureOf, separator, several](const QList<Measurement> &chosen) {
            QList<SeriesGroup> groups;
            for (const ByCalibration &structure : given) {
                QList<ArchiveCell> cells;
                for (const Measurement &m : chosen)
                    if (structureOf.value(m.id) == structure.structureId)
                        cells << m.cell;
                SeriesGroup group;
                group.name = several ? QStringLiteral("По градуировке: %1").arg(structure.name)
                                     : QStringLiteral("По градуировке");
                group.figures = seriesFiguresOfTenths(dependencySeries(structure.dependency, cells).tenths, separator);
                groups << group;
            }
            return groups;
        },
        lines);
}

QList<RegisterId> RegisterWindow::protocolStructures() const
{
    if (!m_register)
        return {};
    QSet<RegisterId> holding;
    for (const StructureCount &count : m_register->measurementCounts())
        if (count.measurements > 0)
            holding.insert(count.structureId);
    QList<RegisterId> ids = chosenStructures();
    ids.removeIf([&](RegisterId id) { return !holding.contains(id); });
    return ids;
}

void RegisterWindow::requestProtocol()
{
    beginReads();
    const QList<RegisterId> ids = protocolStructures();
    const bool readOk = !m_register || m_register->errorString().isEmpty();
    noteRead();
    endReads();
    if (!readOk)
        return; // told
    // Structures of several objects: refused as the command line refuses them.
    QStringList objects;
    for (RegisterId id : chosenStructures()) {
        const QString object = m_objects.value(m_structures.value(id).objectId).name;
        if (!objects.contains(object))
            objects << object;
    }
    if (objects.size() > 1) {
        tellUser(this, nullptr,
            QStringLiteral(
                "Конструкции относятся к разным объектам (%1); протокол составляется для одного объекта.")
                .arg(objects.join(QStringLiteral(", "))));
        return;
    }
    if (ids.isEmpty()) {
        if (chosenItems().size() == 1 && selectedKind() == NodeKind::Unassigned)
            return;
        tellUser(this, nullptr,
            chosenItems().size() == 1 && selectedKind() == NodeKind::Object
                ? QStringLiteral("В конструкциях объекта нет измерений: протокол не из чего составить.")
                : QStringLiteral("В конструкции нет измерений: протокол не из чего составить."));
        return;
    }
    emit protocolRequested(ids);
}

void RegisterWindow::openSelectedInTable()
{
    QList<RegisterMeasurement> chosen = selectedMeasurements();
    // None selected: the node's all, in time order; a list too long is refused by its count,
    // before its rows are read.
    const qsizetype count = chosen.isEmpty() ? m_model->total() : chosen.size();
    if (count > CellArchive::Capacity) {
        tellUser(this, nullptr,
            QStringLiteral("Выбрано измерений: %1. В таблицу можно открыть не более %2; выделите меньше.")
                .arg(count)
                .arg(CellArchive::Capacity));
        return;
    }
    if (chosen.isEmpty() && readWholeList())
        chosen = m_model->measurements();
    if (chosen.isEmpty())
        return;
    std::stable_sort(chosen.begin(), chosen.end(), [](const auto &a, const auto &b) {
        return registersql::takenAt(a.cell) < registersql::takenAt(b.cell);
    });
    emit openInTable(measurementsOf(chosen));
}

void RegisterWindow::askAndAssign()
{
    if (!m_register || selectedMeasurements().isEmpty())
        return;
    if (m_structures.isEmpty()) {
        tellUser(this, nullptr, QStringLiteral("В журнале нет конструкций: создайте объект и конструкцию."));
        return;
    }
    RegisterStructureChooser chooser(m_objects.values(), m_structures.values(), m_lastStructure, this);
    if (chooser.exec() == QDialog::Accepted && chooser.chosen() != 0)
        assignSelected(chooser.chosen());
}

namespace {

// Asks for a name until `make` takes it or the user cancels: a name the register refused
// (busy past the wait, a character it does not keep) is offered again as typed.
template <typename Make>
void askName(QWidget *parent, const QString &caption, const QString &label, QString name, Make make)
{
    for (;;) {
        const std::optional<QString> typed = dialogs().textInput(parent, caption, label, name);
        if (!typed || typed->trimmed().isEmpty() || make(*typed))
            return;
        name = *typed;
    }
}

} // namespace

void RegisterWindow::askAndCreateObject()
{
    askName(this, QStringLiteral("Новый объект"), QStringLiteral("Название объекта:"), {},
        [this](const QString &name) { return createObject(name) != 0; });
}

void RegisterWindow::askAndCreateStructure()
{
    RegisterId objectId = 0;
    if (selectedKind() == NodeKind::Object)
        objectId = selectedId();
    else if (selectedKind() == NodeKind::Structure && Tree->currentItem()->parent())
        objectId = Tree->currentItem()->parent()->data(0, kIdRole).toLongLong();
    if (objectId == 0) {
        tellUser(this, nullptr, QStringLiteral("Выберите объект, к которому относится конструкция."));
        return;
    }
    askName(this, QStringLiteral("Новая конструкция"), QStringLiteral("Название конструкции:"), {},
        [this, objectId](const QString &name) { return createStructure(objectId, name) != 0; });
}

void RegisterWindow::askAndRename()
{
    const RegisterId id = selectedId();
    QString current;
    if (selectedKind() == NodeKind::Object)
        current = m_objects.value(id).name;
    else if (selectedKind() == NodeKind::Structure)
        current = m_structures.value(id).name;
    else
        return;
    const NodeKind kind = selectedKind();
    askName(this, QStringLiteral("Переименовать"), QStringLiteral("Название:"), current,
        [this, kind, id](const QString &name) {
            // A refusal reads the tree again; the name is offered again for the same node.
            selectNode(kind, id);
            return renameSelectedNode(name) || selectedId() != id;
        });
}

void RegisterWindow::askAndFillSites()
{
    const QList<RegisterMeasurement> selected = selectedMeasurementsAsShown();
    if (selected.isEmpty())
        return;
    const QString first
        = selected.constFirst().site.isEmpty() ? QStringLiteral("1") : selected.constFirst().site;
    askName(this, QStringLiteral("Участки по порядку"),
        QStringLiteral(
            "Участок первого из выделенных измерений (%1), следующие по порядку: 1, 2, 3… или 2а, 2б…")
            .arg(selected.size()),
        first, [this](const QString &label) {
            fillSites(label);
            return true; // the table is read again either way: the selection is gone
        });
}

} // namespace luvir
