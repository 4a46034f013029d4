#include "PrintTarget.h"

#include "AtomicFile.h"
#include "UserDialogs.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrinter>

namespace luvir {

PrintTarget::PrintTarget(QPrinter &printer)
    : m_printer(printer)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return;
    m_fileName = printer.outputFileName();
    m_document.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_document);
    m_writer->setResolution(printer.resolution());
    m_writer->setPdfVersion(printer.pdfVersion());
    m_writer->setTitle(printer.docName());
    m_writer->setCreator(printer.creator());
    // With the printer's whole-paper mode: painting starts at the paper's corner then.
    m_writer->setPageLayout(printer.pageLayout());
}

PrintTarget::~PrintTarget() = default;

QPagedPaintDevice &PrintTarget::device()
{
    if (m_writer)
        return *m_writer;
    return m_printer;
}

bool PrintTarget::finish(QString *error)
{
    if (!m_writer)
        return true;
    QString reason;
    if (writeFileAtomically(m_fileName, m_document.data(), &reason))
        return true;
    *error = QStringLiteral("Не удалось напечатать в файл \"%1\": %2")
                 .arg(QDir::toNativeSeparators(m_fileName), reason);
    return false;
}

bool askForPrinter(QWidget *parent, QPrinter &printer)
{
    const QString name = printer.docName();
    if (!name.isEmpty())
        printer.setDocName(name + QStringLiteral(".pdf"));
    const bool accepted = dialogs().print(parent, printer);
    printer.setDocName(name);
    return accepted;
}

} // namespace luvir
