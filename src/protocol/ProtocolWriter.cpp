#include "ProtocolWriter.h"

#include "AtomicFile.h"
#include "CellText.h"
#include "OdtPageStyles.h"
#include "ProtocolDocument.h"
#include "ProtocolFacts.h"
#include "ProtocolPages.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocumentWriter>

namespace luvir {

namespace {

bool failed(QString *error, const QString &fileName, const QString &reason)
{
    if (error)
        *error = QStringLiteral("Не удалось сохранить файл \"%1\": %2")
                     .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()), reason);
    return false;
}

// The document is made in memory and written whole.
bool saveMade(const QString &fileName, QString *error, const std::function<bool(QIODevice &)> &make,
              const QString &notMade)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    if (!make(bytes))
        return failed(error, fileName, notMade);
    QString reason;
    if (!writeFileAtomically(fileName, bytes.data(), &reason))
        return failed(error, fileName, reason);
    return true;
}

} // namespace

bool writeProtocolPdf(const ProtocolPages &pages, QIODevice &device)
{
    QPdfWriter writer(&device);
    writer.setResolution(ProtocolPages::kDotsPerInch);
    writer.setTitle(pages.document().metaInformation(QTextDocument::DocumentTitle));
    writer.setCreator(kInstrumentName);
    writer.setPageLayout(ProtocolPages::pageLayout());
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < pages.pageCount(); ++i) {
        if (i > 0 && !writer.newPage())
            return false;
        pages.paintPage(painter, i);
    }
    return painter.end();
}

bool writeProtocolOdt(const ProtocolContent &content, const QString &separator, QIODevice &device)
{
    const auto document = protocolDocument(content, protocolFacts(content, separator));
    QBuffer package;
    package.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&package, "ODF");
    if (!writer.write(document.get()))
        return false;
    QByteArray odt = package.data();
    if (!addOdtPageStyles(odt, protocolTitleLine(content.header), protocolFont(10).families().first()))
        return false;
    return device.write(odt) == odt.size();
}

bool writeProtocolPdf(const ProtocolContent &content, const QString &fileName, QString *error,
    const QString &separator)
{
    const ProtocolPages pages(content, separator.isEmpty() ? systemDecimalSeparator() : separator);
    return saveMade(
        fileName, error, [&pages](QIODevice &device) { return writeProtocolPdf(pages, device); },
        QStringLiteral("не удалось построить документ PDF"));
}

bool writeProtocolOdt(const ProtocolContent &content, const QString &fileName, QString *error,
    const QString &separator)
{
    const QString numbers = separator.isEmpty() ? systemDecimalSeparator() : separator;
    return saveMade(
        fileName, error,
        [&](QIODevice &device) { return writeProtocolOdt(content, numbers, device); },
        QStringLiteral("не удалось построить документ ODT"));
}

} // namespace luvir
