#pragma once
// A calibration set as a spreadsheet keeps it: ';'-separated UTF-8 (a byte order mark
// allowed), a header line, then one site a line, `label;indirect;direct` (MPa, a decimal
// comma or point). Fields may be in double quotes, as spreadsheets write them.

#include "CalibSite.h"

#include <QByteArray>

class QIODevice;

namespace luvir {

struct CalibCsv {
    CalibSites sites;
    QList<int> lines; // the line number (from 1) of each site in the file
    QString error; // Russian; empty when the file was read
    int errorLine = 0; // the line the error is on; 0 for the file as a whole

    bool ok() const { return error.isEmpty(); }
};

// A wrong line (not three fields, a value that is no finite number or beyond ±1000 MPa, a
// missing header) is refused with its line number; blank lines are skipped.
CalibCsv readCalibCsv(const QByteArray &bytes);

// The same shape, a byte order mark first, lines ended by CR LF; numbers in their shortest
// exact form with `decimalSeparator`.
QByteArray writeCalibCsv(const CalibSites &sites, const QString &decimalSeparator);

} // namespace luvir
