// The register window's commands: assigning, removing, the objects and structures, the
// statistics, the main table and the protocol. Each goes through the register library and
// tells the user when the register refuses.
#include "RegisterWindow.h"

#include "CellText.h"
#include "Register.h"
#include "RegisterMeasurementModel.h"
#include "RegisterNodeDialog.h"
#include "RegisterQuery.h"
#include "StatsWindow.h"
#include "UserDialogs.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QSet>
#include <QTreeWidget>

#include <algorithm>

namespace luvir {

bool RegisterWindow::done(bool ok)
{
    if (!ok && m_register)
        tellUser(this, nullptr, QStringLiteral("Журнал: %1.").arg(m_register->errorString()));
    refresh();
    return ok;
}

namespace {

QList<RegisterId> idsOf(const QList<RegisterMeasurement> &measurements)
{
    QList<RegisterId> ids;
    for (const RegisterMeasurement &m : measurements)
        ids << m.id;
    return ids;
}

} // namespace

bool RegisterWindow::assignSelected(RegisterId structureId)
{
    const QList<RegisterMeasurement> selected = selectedMeasurements();
    return m_register && !selected.isEmpty() && done(m_register->assign(idsOf(selected), structureId));
}

bool RegisterWindow::unassignSelected()
{
    const QList<RegisterMeasurement> selected = selectedMeasurements();
    return m_register && !selected.isEmpty() && done(m_register->unassign(idsOf(selected)));
}

bool RegisterWindow::removeSelected()
{
    const QList<RegisterMeasurement> selected = selectedMeasurements();
    if (!m_register || selected.isEmpty())
        return false;
    const QString question = QStringLiteral(
        "Удалить из журнала выбранные измерения (%1)? Если они будут скачаны снова, "
        "они не вернутся, а будут отмечены как «удалены ранее».")
                                 .arg(selected.size());
    if (!dialogs().question(this, question, QStringLiteral("Журнал испытаний")))
        return false;
    return done(m_register->markRemoved(idsOf(selected)));
}

RegisterId RegisterWindow::createObject(const QString &name)
{
    if (!m_register || name.trimmed().isEmpty())
        return 0;
    const RegisterId id = m_register->addObject({0, name.trimmed(), {}, {}, {}});
    done(id != 0);
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
    const RegisterId id = m_register->addStructure(structure);
    done(id != 0);
    selectNode(NodeKind::Structure, id);
    return id;
}

bool RegisterWindow::renameSelectedNode(const QString &name)
{
    if (!m_register || name.trimmed().isEmpty())
        return false;
    const RegisterId id = selectedId();
    if (selectedKind() == NodeKind::Object) {
        if (auto o = m_register->object(id)) {
            o->name = name.trimmed();
            return done(m_register->updateObject(*o));
        }
    } else if (selectedKind() == NodeKind::Structure) {
        if (auto s = m_register->structure(id)) {
            s->name = name.trimmed();
            return done(m_register->updateStructure(*s));
        }
    }
    return false;
}

bool RegisterWindow::editSelectedNode()
{
    if (!m_register || selectedKind() == NodeKind::Unassigned)
        return false;
    const RegisterId id = selectedId();
    if (selectedKind() == NodeKind::Object) {
        if (const auto o = m_register->object(id)) {
            RegisterNodeDialog dialog(*o, this);
            return dialog.exec() == QDialog::Accepted && done(m_register->updateObject(dialog.object()));
        }
    } else if (auto s = m_register->structure(id)) {
        RegisterNodeDialog dialog(*s, this);
        return dialog.exec() == QDialog::Accepted && done(m_register->updateStructure(dialog.structure()));
    }
    return false;
}

bool RegisterWindow::deleteSelectedNode()
{
    if (!m_register || selectedKind() == NodeKind::Unassigned)
        return false;
    const bool object = selectedKind() == NodeKind::Object;
    const QString name = Tree->currentItem()->text(0);
    if (m_model->rowCount() > 0 || (object && Tree->currentItem()->childCount() > 0)) {
        const QString question = object
            ? QStringLiteral("Удалить объект «%1» и его конструкции? Их измерения вернутся в «Не распределены».")
            : QStringLiteral("Удалить конструкцию «%1»? Её измерения вернутся в «Не распределены».");
        if (!dialogs().question(this, question.arg(name), QStringLiteral("Журнал испытаний")))
            return false;
    }
    const RegisterId id = selectedId();
    const bool ok = object ? m_register->removeObject(id) : m_register->removeStructure(id);
    Tree->setCurrentItem(Tree->topLevelItem(0));
    return done(ok);
}

void RegisterWindow::showStatistics()
{
    const QList<RegisterMeasurement> listed = listedMeasurements();
    if (listed.isEmpty())
        return;
    auto *window = new StatsWindow(measurementsOf(listed), systemDecimalSeparator(), this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(
        QStringLiteral("Статистика измерений — %1").arg(Tree->currentItem() ? Tree->currentItem()->text(0) : QString()));
    window->show();
}

QList<RegisterId> RegisterWindow::protocolStructures() const
{
    if (!m_register || selectedKind() == NodeKind::Unassigned)
        return {};
    QSet<RegisterId> holding;
    for (const StructureCount &count : m_register->measurementCounts())
        if (count.measurements > 0)
            holding.insert(count.structureId);
    QList<RegisterId> ids;
    if (selectedKind() == NodeKind::Structure) {
        ids << selectedId();
    } else {
        for (const RegisterStructure &structure : m_register->structures(selectedId()))
            ids << structure.id;
    }
    ids.removeIf([&](RegisterId id) { return !holding.contains(id); });
    return ids;
}

void RegisterWindow::requestProtocol()
{
    if (selectedKind() == NodeKind::Unassigned)
        return;
    const QList<RegisterId> ids = protocolStructures();
    if (ids.isEmpty()) {
        tellUser(this, nullptr,
            selectedKind() == NodeKind::Structure
                ? QStringLiteral("В конструкции нет измерений: протокол не из чего составить.")
                : QStringLiteral("В конструкциях объекта нет измерений: протокол не из чего составить."));
        return;
    }
    emit protocolRequested(ids);
}

void RegisterWindow::openSelectedInTable()
{
    QList<RegisterMeasurement> chosen = selectedMeasurements();
    if (chosen.isEmpty())
        chosen = m_model->measurements(); // the node's all, in time order
    if (chosen.isEmpty())
        return;
    if (chosen.size() > CellArchive::Capacity) {
        tellUser(this, nullptr,
            QStringLiteral("Выбрано измерений: %1. В таблицу можно открыть не более %2; выделите меньше.")
                .arg(chosen.size())
                .arg(CellArchive::Capacity));
        return;
    }
    std::stable_sort(chosen.begin(), chosen.end(),
        [](const auto &a, const auto &b) { return registersql::takenAt(a.cell) < registersql::takenAt(b.cell); });
    emit openInTable(measurementsOf(chosen));
}

void RegisterWindow::askAndAssign()
{
    if (!m_register)
        return;
    QStringList names;
    QList<RegisterId> ids;
    QHash<RegisterId, QString> objectNames;
    for (const RegisterObject &o : m_register->objects())
        objectNames.insert(o.id, o.name);
    for (const RegisterStructure &s : m_register->structures()) {
        names << QStringLiteral("%1 › %2").arg(objectNames.value(s.objectId), s.name);
        ids << s.id;
    }
    if (names.isEmpty()) {
        tellUser(this, nullptr, QStringLiteral("В журнале нет конструкций: создайте объект и конструкцию."));
        return;
    }
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        this, QStringLiteral("Отнести к конструкции"), QStringLiteral("Конструкция:"), names, 0, false, &ok);
    if (ok)
        assignSelected(ids.at(names.indexOf(chosen)));
}

void RegisterWindow::askAndCreateObject()
{
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, QStringLiteral("Новый объект"), QStringLiteral("Название объекта:"), QLineEdit::Normal, {}, &ok);
    if (ok)
        createObject(name);
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
    bool ok = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("Новая конструкция"),
        QStringLiteral("Название конструкции:"), QLineEdit::Normal, {}, &ok);
    if (ok)
        createStructure(objectId, name);
}

void RegisterWindow::askAndRename()
{
    if (selectedKind() == NodeKind::Unassigned)
        return;
    QString current = Tree->currentItem()->text(0);
    current = current.left(current.lastIndexOf(QStringLiteral(" (")));
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, QStringLiteral("Переименовать"), QStringLiteral("Название:"), QLineEdit::Normal, current, &ok);
    if (ok)
        renameSelectedNode(name);
}

} // namespace luvir
