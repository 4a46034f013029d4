#pragma once
// «Прямые испытания»: the direct strength (MPa, one decimal) and the date of the direct test
// typed for each site being added: for the register's measurements selected in its window
// (label and H shown, a measurement whose Kc is 0 shown with the reason and left out), or
// for one site typed from paper (its label and H typed too). Tab goes from field to field;
// numbers take a decimal comma or point.

#include "RegisterCalibration.h"

#include <QDialog>

class QLineEdit;

namespace luvir {

struct RegisterMeasurement;

class CalibSitesDialog : public QDialog
{
    Q_OBJECT
public:
    // The measurements of set `setId`, one row each.
    CalibSitesDialog(
        RegisterId setId, const QList<RegisterMeasurement> &measurements, QWidget *parent = nullptr);
    // One site without a measurement.
    explicit CalibSitesDialog(RegisterId setId, QWidget *parent = nullptr);

    // The sites as typed, of the rows that can be added.
    QList<CalibrationSite> sites() const;

    // Closes the dialog unless a direct strength is not given or a date is not one: then
    // the user is told which row, and the keyboard goes there.
    void accept() override;

    // One row's fields; label and H are null for a measurement, strength and date null for
    // a measurement that cannot be used.
    struct Row {
        CalibrationSite site;
        QLineEdit *label = nullptr;
        QLineEdit *indirect = nullptr; // MPa, up to two decimals
        QLineEdit *direct = nullptr; // MPa, one decimal
        QLineEdit *date = nullptr;
    };
    const QList<Row> &rows() const { return m_rows; }

private:
    void build(const QString &caption, bool typed);

    QList<Row> m_rows;
};

} // namespace luvir
