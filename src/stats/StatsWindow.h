#pragma once
// The modal window "Статистика измерений": the figures of the measurements of a range of
// numbers, all together or by element kind; the table can be copied to the clipboard
// (tab-separated) and saved as CSV.

#include "Measurement.h"
#include "SeriesTableModel.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace luvir {

class StatsWindow : public QDialog
{
    Q_OBJECT
public:
    // `measurements` as the table shows them; numbers take `separator`.
    StatsWindow(const QList<Measurement> &measurements, const QString &separator, QWidget *parent = nullptr);

    const SeriesTableModel &model() const { return *m_model; }

    // Groups added after the measurements' own for the measurements of the chosen range (the
    // strength by a laboratory's calibration), and the lines said under the table about them.
    using ExtraGroups = std::function<QList<SeriesGroup>(const QList<Measurement> &)>;
    void setExtraGroups(ExtraGroups groups, const QStringList &lines);
    // The table as copied and saved: the column titles, then one line per group, its
    // warning in a column of its own.
    QList<QStringList> tableLines() const;

    void copyTable(); // to the clipboard, tab-separated
    void saveTable(); // as CSV, after the save dialog

    QSpinBox *FromNumber = nullptr; // first № of the range
    QSpinBox *ToNumber = nullptr; // last № of the range
    QCheckBox *ByKind = nullptr; // "по видам изделий"
    QLabel *RangeNote = nullptr; // shown while the range runs backwards
    QLabel *ExtraNote = nullptr; // what the extra groups are, hidden while there are none
    QTableView *Table = nullptr;
    QPushButton *CopyButton = nullptr;
    QPushButton *SaveButton = nullptr;
    QPushButton *CloseButton = nullptr;

private:
    void refresh();

    QList<Measurement> m_measurements;
    QString m_separator;
    SeriesTableModel *m_model = nullptr;
    ExtraGroups m_extraGroups;
};

} // namespace luvir
