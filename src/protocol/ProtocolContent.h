#pragma once
// What a test protocol is made of, as the engineer gives it: the header fields, the
// conclusion and the executor, and the structures with their measurements. Everything the
// program works out from the measurements (dates, ages, tables, figures) is in
// ProtocolFacts; the document, the PDF and the ODT are all made from these two.

#include "AppliedDependency.h"
#include "ArchiveCell.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace luvir {

inline const QStringList kDefaultStandards
    = {QStringLiteral("ГОСТ 22690-2015"), QStringLiteral("ГОСТ 18105-2018")};
inline const QString kInstrumentName = QStringLiteral("ЛЮВИР-2.07");

// The fields typed by the engineer. Texts may hold line breaks; an empty text prints as
// an empty field, an invalid date as no date.
struct ProtocolHeader {
    QString number; // the protocol's number
    QDate date; // the protocol's date
    QString laboratoryName;
    QString laboratoryAddress;
    QString accreditation; // the accreditation certificate of the laboratory
    QString customer;
    QString objectName;
    QString objectAddress;
    QString conditions; // test conditions, e.g. the air temperature
    QStringList standards = kDefaultStandards; // normative documents
    QString instrument = kInstrumentName;
    QString serialNumber;
    QString verificationNumber; // the instrument's verification certificate
    QDate verificationDate;
    QString conclusion; // the engineer's own text; the program judges nothing
    QString executorName;
    QString executorPosition;
};

// One measurement of a structure and the site (Участок) it was taken on.
struct ProtocolSite {
    ArchiveCell cell;
    QString label;
};

struct ProtocolStructure {
    QString name;
    QString elementKind;
    QString designClass; // as text, e.g. "B25"
    QDate concreted; // the date of concreting
    QList<ProtocolSite> sites; // in the order the table lists them
    // The calibration applied to the structure: its strengths are those by it.
    std::optional<AppliedDependency> dependency;
};

struct ProtocolContent {
    ProtocolHeader header;
    QList<ProtocolStructure> structures;
    bool withValues = false; // "с единичными значениями": each site's intermediate values
};

} // namespace luvir
