// The calibration window's commands: the sets, their sites, and the chart's picture and
// print. Each goes through the register library and tells the user when it refuses; the
// changes are written on the writer's thread (writeApart), the result taken here.
#include "CalibrationWindow.h"

#include "AppliedDependencyText.h"
#include "CalibChartDrawing.h"
#include "CalibSetDialog.h"
#include "CalibSitesDialog.h"
#include "ChartPicture.h"
#include "ChartPrinting.h"
#include "PrintTarget.h"
#include "Register.h"
#include "RegisterStructureChooser.h"
#include "RegisterWriteWait.h"
#include "RegisterWriter.h"

#include <QChartView>
#include <QCoreApplication>
#include <QDir>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QListWidget>
#include <QPointer>
#include <QStatusBar>
#include <QTableView>

namespace luvir {

namespace {

// The printed chart's margins, in per cent of the page, as the chart window prints.
constexpr double kPrintMarginPercent = 4;

} // namespace

bool CalibrationWindow::writeApart(const std::function<bool(Register &)> &change, QString &error)
{
    if (!m_register || m_writing)
        return false;
    return writeWhileWaiting(*this, *m_writer, *m_register, change,
               [this](bool writing) {
                   m_writing = writing;
                   updateActions();
               },
               error)
        == WaitedWrite::Written;
}

void CalibrationWindow::tellRefusal(const QString &error)
{
    if (m_register && !error.isEmpty())
        tellUser(this, nullptr, QStringLiteral("Журнал: %1.").arg(error));
}

bool CalibrationWindow::done(bool ok, const QString &error)
{
    if (!ok)
        tellRefusal(error);
    refresh();
    return ok;
}

void CalibrationWindow::askAndCreateSet()
{
    if (!m_register || m_writing)
        return;
    const QPointer<CalibrationWindow> self(this);
    CalibrationSet set;
    set.madeOn = QDate::currentDate();
    // Offered again as typed while the register refuses it (a name taken, busy past the wait).
    for (;;) {
        CalibSetDialog dialog(set, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        set = dialog.set();
        RegisterId id = 0;
        QString error;
        const bool ok = writeApart(
            [set, &id](Register &r) {
                id = r.addCalibrationSet(set);
                return id != 0;
            },
            error);
        if (!self || !m_register)
            return;
        if (ok) {
            refresh();
            selectSet(id);
            return;
        }
        tellRefusal(error);
    }
}

bool CalibrationWindow::editSet()
{
    const RegisterId id = selectedSet();
    const auto found
        = std::find_if(m_sets.cbegin(), m_sets.cend(), [id](const auto &s) { return s.id == id; });
    if (!m_register || m_writing || found == m_sets.cend())
        return false;
    const CalibrationSet read = *found;
    const QPointer<CalibrationWindow> self(this);
    // The set as the list read it: a change another made since is not overwritten. Offered
    // again as typed while the register refuses it (busy past the wait, a text it does not take).
    CalibSetDialog dialog(read, this);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const CalibrationSet edited = dialog.set();
        QString error;
        const bool ok = writeApart([edited](Register &r) { return r.updateCalibrationSet(edited); }, error);
        if (!self || !m_register)
            return false;
        if (ok)
            return done(true, {});
        // Changed or removed by another since it was read: told, and the window shows it.
        const std::optional<CalibrationSet> now = m_register->calibrationSet(id);
        if (!now || now->revision != read.revision)
            return done(false, error);
        tellRefusal(error);
    }
}

bool CalibrationWindow::removeSet()
{
    const RegisterId id = selectedSet();
    if (!m_register || m_writing || id == 0)
        return false;
    const QString question
        = QStringLiteral("Удалить градуировочный набор «%1» и его участки (%2)? Измерения журнала останутся.")
              .arg(SetList->currentItem()->text())
              .arg(m_outcome.sites.size());
    if (!dialogs().question(this, question, windowTitle()))
        return false;
    const QPointer<CalibrationWindow> self(this);
    QString error;
    const bool ok = writeApart([id](Register &r) { return r.removeCalibrationSet(id); }, error);
    return self && done(ok, error);
}

bool CalibrationWindow::addSitesFrom(CalibSitesDialog &dialog, RegisterId setId)
{
    const QPointer<CalibrationWindow> self(this);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.sites().isEmpty())
            return false;
        const QList<CalibrationSite> sites = dialog.sites();
        QString error;
        // All of them or none: a refusal half-way leaves none added.
        const bool ok = writeApart([sites](Register &r) { return r.addCalibrationSites(sites); }, error);
        if (!self || !m_register)
            return false;
        if (ok || !m_register->calibrationSet(setId))
            return done(ok, error); // a set removed meanwhile is told, and shown gone
        tellRefusal(error);
    }
}

bool CalibrationWindow::addSelectedMeasurements()
{
    const RegisterId id = selectedSet();
    if (!m_register || m_writing || id == 0)
        return false;
    const QList<RegisterMeasurement> selected = selectedInRegister();
    if (selected.isEmpty()) {
        tellUser(this, nullptr,
            QStringLiteral(
                "Выделите в окне «Журнал испытаний» измерения, на участках которых проведены прямые "
                "испытания."));
        return false;
    }
    CalibSitesDialog dialog(id, selected, this);
    return addSitesFrom(dialog, id);
}

bool CalibrationWindow::addTypedSite()
{
    const RegisterId id = selectedSet();
    if (!m_register || m_writing || id == 0)
        return false;
    CalibSitesDialog dialog(id, this);
    return addSitesFrom(dialog, id);
}

bool CalibrationWindow::removeSite()
{
    const int row = SiteTable->currentIndex().row();
    if (!m_register || m_writing || row < 0 || row >= m_outcome.sites.size())
        return false;
    const CalibrationSite site = m_outcome.sites.at(row);
    if (!dialogs().question(
            this, QStringLiteral("Удалить участок «%1» из набора?").arg(site.label), windowTitle()))
        return false;
    const QPointer<CalibrationWindow> self(this);
    QString error;
    const bool ok = writeApart([id = site.id](Register &r) { return r.removeCalibrationSite(id); }, error);
    return self && done(ok, error);
}

void CalibrationWindow::savePicture()
{
    const QString fileName = dialogs().saveFileName(this, m_pictureRequest);
    if (fileName.isEmpty())
        return;
    m_pictureRequest.fileName = fileName;
    QString error;
    if (!writePicture(chartPicture(*ChartView), fileName, &error))
        dialogs().error(this,
            QStringLiteral("Не удалось сохранить рисунок в файл \"%1\": %2")
                .arg(QDir::toNativeSeparators(fileName), error));
}

void CalibrationWindow::printChart()
{
    if (!askForPrinter(this, m_printer))
        return;
    const CalibChartContent content = m_chart;
    const auto lay = [&content](QGraphicsScene &scene, const QSizeF &size) {
        QChart *chart = createCalibChart(content);
        scene.addItem(chart); // the scene owns it from here on
        chart->resize(size);
        QCoreApplication::sendPostedEvents();
        if (chart->layout())
            chart->layout()->activate();
    };
    QString error;
    if (!luvir::printChart(m_printer, lay, {kPrintMarginPercent, false}, ChartView->size(), &error))
        dialogs().error(this, error);
}

RegisterId CalibrationWindow::chooseStructure(const QString &caption)
{
    if (!m_register)
        return 0;
    const QList<RegisterStructure> structures = m_register->structures();
    if (structures.isEmpty()) {
        tellUser(this, nullptr,
            QStringLiteral("В журнале нет конструкций: создайте их в окне «Журнал испытаний»."));
        return 0;
    }
    RegisterStructureChooser chooser(m_register->objects(), structures, m_lastStructure, this);
    chooser.setWindowTitle(caption);
    if (chooser.exec() != QDialog::Accepted || chooser.chosen() == 0)
        return 0;
    m_lastStructure = chooser.chosen();
    return m_lastStructure;
}

QString CalibrationWindow::structureName(const RegisterStructure &structure)
{
    const std::optional<RegisterObject> object = m_register->object(structure.objectId);
    return QStringLiteral("«%1» (объект «%2»)").arg(structure.name, object ? object->name : QString());
}

std::optional<DependencyApplication> CalibrationWindow::applicable()
{
    const RegisterId id = selectedSet();
    const auto set = std::find_if(m_sets.cbegin(), m_sets.cend(), [id](const auto &s) { return s.id == id; });
    if (!m_register || m_writing || set == m_sets.cend())
        return std::nullopt;
    // What the window shows is what is applied: its sites, computed the way chosen.
    DependencyApplication made = applyDependency(dependencySourceOf(m_outcome, *set), kind(), QDate::currentDate());
    if (made.applied())
        return made;
    tellUser(this, nullptr, made.refusal);
    return std::nullopt;
}

bool CalibrationWindow::applyToStructure(RegisterId structureId)
{
    const std::optional<DependencyApplication> application = applicable();
    if (!application)
        return false;
    // The structure as it is now: a change another makes from here on is not overwritten.
    const std::optional<RegisterStructure> read = m_register->structure(structureId);
    if (!read)
        return done(false, m_register->errorString());
    const QString title = appliedDependencyTitle(*application->dependency, m_separator);
    if (!application->warning.isEmpty()
        && !dialogs().question(this,
            QStringLiteral("%1\n\nПрименить %2 к конструкции %3?")
                .arg(application->warning, title, structureName(*read)),
            windowTitle()))
        return false;
    const QPointer<CalibrationWindow> self(this);
    QString error;
    const bool ok = writeApart([structure = *read, dependency = *application->dependency](
                                   Register &r) { return r.setStructureDependency(structure, dependency); },
        error);
    if (!self || !m_register)
        return false;
    if (ok) {
        statusBar()->showMessage(
            QStringLiteral("К конструкции %1 применено: %2.").arg(structureName(*read), title));
        emit dependencyChanged();
    }
    return done(ok, error);
}

bool CalibrationWindow::removeFromStructure(RegisterId structureId)
{
    if (!m_register || m_writing)
        return false;
    const std::optional<RegisterStructure> read = m_register->structure(structureId);
    if (!read)
        return done(false, m_register->errorString());
    const std::optional<AppliedDependency> had = m_register->structureDependency(structureId);
    if (!had) {
        if (!m_register->errorString().isEmpty())
            return done(false, m_register->errorString());
        tellUser(this, nullptr,
            QStringLiteral("У конструкции %1 нет градуировочной зависимости.").arg(structureName(*read)));
        return false;
    }
    const QString question
        = QStringLiteral("Снять с конструкции %1 %2? Её измерения будут показаны с прочностью "
                         "по прибору.")
              .arg(structureName(*read), appliedDependencyTitle(*had, m_separator));
    if (!dialogs().question(this, question, windowTitle()))
        return false;
    const QPointer<CalibrationWindow> self(this);
    QString error;
    const bool ok = writeApart(
        [structure = *read](Register &r) { return r.removeStructureDependency(structure); }, error);
    if (!self || !m_register)
        return false;
    if (ok) {
        statusBar()->showMessage(
            QStringLiteral("С конструкции %1 снята градуировочная зависимость.").arg(structureName(*read)));
        emit dependencyChanged();
    }
    return done(ok, error);
}

} // namespace luvir
