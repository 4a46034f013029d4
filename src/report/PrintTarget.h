#pragma once
// Where a print goes. A printer gets the pages as they are painted. A print to a PDF file
// is made in memory and written to the file only once complete (beside it, then moved into
// place), so a print that cannot be completed leaves no broken file and an earlier file of
// that name stays as it was.

#include <QBuffer>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class QWidget;

namespace luvir {

class PrintTarget
{
public:
    explicit PrintTarget(QPrinter &printer);
    ~PrintTarget();
    PrintTarget(const PrintTarget &) = delete;
    PrintTarget &operator=(const PrintTarget &) = delete;

    // What the pages are painted on: the printer, or the document of a print to file, with
    // the printer's paper, orientation, margins and resolution.
    QPagedPaintDevice &device();
    // The file printed to; empty for a printer.
    QString fileName() const { return m_fileName; }
    // Once the painter has ended: writes the file of a print to file. On failure returns
    // false and puts the file's name and the system's reason in `error`.
    bool finish(QString *error);

private:
    QPrinter &m_printer;
    QString m_fileName;
    QBuffer m_document;
    std::unique_ptr<QPdfWriter> m_writer;
};

// The print dialog on `printer`, through the dialogs seam. Qt's dialog suggests the file
// of a print to file from the document's name less what follows its last dot, so it is
// shown the name with ".pdf": "ЛЮВИР-2.07" is offered as "ЛЮВИР-2.07.pdf".
bool askForPrinter(QWidget *parent, QPrinter &printer);

} // namespace luvir
