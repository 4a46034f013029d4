// The calibration window's commands: the sets, their sites, and the chart's picture and
// print. Each goes through the register library and tells the user when it refuses.
#include "CalibrationWindow.h"

#include "CalibChartDrawing.h"
#include "CalibSetDialog.h"
#include "CalibSitesDialog.h"
#include "ChartPicture.h"
#include "ChartPrinting.h"
#include "PrintTarget.h"
#include "Register.h"
#include "WaitCursor.h"

#include <QChartView>
#include <QCoreApplication>
#include <QDir>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QListWidget>
#include <QTableView>

namespace luvir {

namespace {

// The printed chart's margins, in per cent of the page, as the chart window prints.
constexpr double kPrintMarginPercent = 4;

} // namespace

bool CalibrationWindow::done(bool ok)
{
    if (!ok && m_register)
        tellUser(this, nullptr, QStringLiteral("Журнал: %1.").arg(m_register->errorString()));
    refresh();
    return ok;
}

void CalibrationWindow::askAndCreateSet()
{
    if (!m_register)
        return;
    CalibrationSet set;
    set.madeOn = QDate::currentDate();
    // Offered again as typed while the register refuses it (a name taken, busy past the wait).
    for (;;) {
        CalibSetDialog dialog(set, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        set = dialog.set();
        RegisterId id = 0;
        {
            const WaitCursor wait;
            id = m_register->addCalibrationSet(set);
        }
        if (id != 0) {
            refresh();
            selectSet(id);
            return;
        }
        tellUser(this, nullptr, QStringLiteral("Журнал: %1.").arg(m_register->errorString()));
    }
}

bool CalibrationWindow::editSet()
{
    const RegisterId id = selectedSet();
    const auto read
        = std::find_if(m_sets.cbegin(), m_sets.cend(), [id](const auto &s) { return s.id == id; });
    if (!m_register || read == m_sets.cend())
        return false;
    // The set as the list read it: a change another made since is not overwritten.
    CalibSetDialog dialog(*read, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    bool ok = false;
    {
        const WaitCursor wait;
        ok = m_register->updateCalibrationSet(dialog.set());
    }
    return done(ok);
}

bool CalibrationWindow::removeSet()
{
    const RegisterId id = selectedSet();
    if (!m_register || id == 0)
        return false;
    const QString question
        = QStringLiteral("Удалить градуировочный набор «%1» и его участки (%2)? Измерения журнала останутся.")
              .arg(SetList->currentItem()->text())
              .arg(m_outcome.sites.size());
    if (!dialogs().question(this, question, windowTitle()))
        return false;
    bool ok = false;
    {
        const WaitCursor wait;
        ok = m_register->removeCalibrationSet(id);
    }
    return done(ok);
}

namespace {

// Adds the sites one by one; false at the first the register refuses.
bool addSites(Register &reg, const QList<CalibrationSite> &sites)
{
    const WaitCursor wait;
    return std::all_of(sites.cbegin(), sites.cend(),
        [&reg](const CalibrationSite &site) { return reg.addCalibrationSite(site) != 0; });
}

} // namespace

bool CalibrationWindow::addSelectedMeasurements()
{
    const RegisterId id = selectedSet();
    if (!m_register || id == 0)
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
    if (dialog.exec() != QDialog::Accepted || dialog.sites().isEmpty())
        return false;
    return done(addSites(*m_register, dialog.sites()));
}

bool CalibrationWindow::addTypedSite()
{
    const RegisterId id = selectedSet();
    if (!m_register || id == 0)
        return false;
    CalibSitesDialog dialog(id, this);
    return dialog.exec() == QDialog::Accepted && done(addSites(*m_register, dialog.sites()));
}

bool CalibrationWindow::removeSite()
{
    const int row = SiteTable->currentIndex().row();
    if (!m_register || row < 0 || row >= m_outcome.sites.size())
        return false;
    const CalibrationSite &site = m_outcome.sites.at(row);
    if (!dialogs().question(
            this, QStringLiteral("Удалить участок «%1» из набора?").arg(site.label), windowTitle()))
        return false;
    bool ok = false;
    {
        const WaitCursor wait;
        ok = m_register->removeCalibrationSite(site.id);
    }
    return done(ok);
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

} // namespace luvir
