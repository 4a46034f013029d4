#pragma once
// Reading a protocol back the way others read it: the PDF's text and word boxes from
// poppler, the ODT's text from LibreOffice, and what a structure must show worked out by
// protocol_reference.py.
#include "ProtocolContent.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace luvir::test {

// The locales the readers run under, with the decimal separator the protocol is made with.
struct ReadLocale {
    const char *name;
    QString separator;
};
inline const ReadLocale kReadLocales[] = {{"C", "."}, {"ru_RU.UTF-8", ","}};

struct ExpectedStructure {
    QList<QStringList> rows; // №, Участок, date and time, direction, dependency, Kc, R
    QString statisticsLine; // "n = …; Rmin = … МПа; …"
};

// Writes the structure's cells to `folder` and asks protocol_reference.py.
ExpectedStructure expectedStructure(const ProtocolStructure &structure, const QString &separator,
                                    const QString &folder);

struct PdfWord {
    int page = 0; // from 1
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0; // points from the page's top left
    QString text;
};

// pdftotext -layout: one text per page.
QStringList pdfPages(const QString &pdf, const char *locale);
// pdftotext -bbox: every word with its page and box.
QList<PdfWord> pdfWords(const QString &pdf, const char *locale);

// LibreOffice's plain text of each ODT, converted in one run; "" for a file it could not
// convert. Empty list when LibreOffice is not installed.
QStringList libreOfficeTexts(const QStringList &odts, const QString &folder, const char *locale);

// The ODTs as LibreOffice lays them out on pages, saved by it as PDF: the file names, in
// the order given; empty when LibreOffice is not installed.
QStringList libreOfficePdfs(const QStringList &odts, const QString &folder, const char *locale);

} // namespace luvir::test
