// Adding cells to the register: each cell once, every source remembered.
#include "Register.h"

#include "RegisterQuery.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <functional>

namespace luvir {

using registersql::bindAll;
using registersql::cellBlob;
using registersql::execBound;
using registersql::takenAt;

namespace {

// A statement with a row of placeholders per item, a hundred items at a time: prepared once
// for a full hundred and run again for each, since reading a statement of some hundred
// placeholders costs more than running it; the last, shorter part is prepared for itself.
class ChunkStatement
{
public:
    ChunkStatement(const QSqlDatabase &db, std::function<QString(qsizetype rows)> sqlFor)
        : m_db(db)
        , m_sqlFor(std::move(sqlFor))
    {
    }
    // The statement for `rows` items, run with `values` bound; false with its error set.
    bool exec(qsizetype rows, const QVariantList &values)
    {
        if (rows != m_rows) {
            m_query = QSqlQuery(m_db);
            m_query.setForwardOnly(true);
            m_rows = -1;
            if (!m_query.prepare(m_sqlFor(rows)))
                return false;
            m_rows = rows;
        }
        bindAll(m_query, values);
        return m_query.exec();
    }
    QSqlQuery &query() { return m_query; }

private:
    QSqlDatabase m_db;
    std::function<QString(qsizetype)> m_sqlFor;
    QSqlQuery m_query;
    qsizetype m_rows = -1;
};

constexpr qsizetype kAskedAtOnce = 100;

} // namespace

bool Register::importCells(const QList<ArchiveCell> &cells, RegisterSource &source, ImportCounts &counts)
{
    const SqlDialect &dialect = m_db.dialect();
    return m_db.write([&] {
        counts = {}; // the whole transaction may run again
        QSqlDatabase db = m_db.database();
        QSqlQuery query(db);
        if (!execBound(query,
                QStringLiteral("INSERT INTO sources (kind, added_at, version_major, version_minor, "
                               "serial_number, file_name) "
                               "VALUES (?, ?, ?, ?, ?, ?) RETURNING id"),
                {static_cast<int>(source.kind), source.addedAt.toString(Qt::ISODate), source.version.major,
                    source.version.minor, source.serialNumber, source.fileName})
            || !query.next())
            return m_db.fail(query);
        source.id = query.value(0).toLongLong();
        query.finish();

        // What the register holds of these cells already, asked a hundred at a time: a
        // cell held needs no insert and no look-up of its own, only the link to the source.
        QHash<QByteArray, std::pair<RegisterId, bool>> known; // id, removed
        ChunkStatement ask(db, [](qsizetype rows) {
            return QStringLiteral("SELECT id, removed, cell FROM measurements WHERE cell IN (%1)")
                .arg(QStringList(rows, QStringLiteral("?")).join(u','));
        });
        for (qsizetype first = 0; first < cells.size(); first += kAskedAtOnce) {
            const qsizetype count = std::min(kAskedAtOnce, cells.size() - first);
            QVariantList blobs;
            for (qsizetype i = first; i < first + count; ++i)
                blobs << cellBlob(cells.at(i));
            if (!ask.exec(count, blobs))
                return m_db.fail(ask.query());
            while (ask.query().next())
                known.insert(ask.query().value(2).toByteArray(),
                    {ask.query().value(0).toLongLong(), ask.query().value(1).toInt() != 0});
            if (ask.query().lastError().isValid())
                return m_db.fail(ask.query());
        }

        // The new cells, each once, inserted a hundred rows per statement: a cell another
        // program added since it was asked about is not returned and is looked up alone.
        QList<QByteArray> fresh;
        QSet<QByteArray> added;
        for (const ArchiveCell &cell : cells) {
            const QByteArray blob = cellBlob(cell);
            if (!known.contains(blob) && !added.contains(blob)) {
                added.insert(blob);
                fresh << blob;
            }
        }
        added.clear();
        ChunkStatement insert(db, [&dialect](qsizetype rows) {
            return dialect.insertIgnoring(QStringLiteral("measurements"),
                {QStringLiteral("cell"), QStringLiteral("taken_at"), QStringLiteral("element_kind")},
                QStringLiteral("RETURNING id, cell"), rows);
        });
        QSqlQuery find(db);
        if (!find.prepare(QStringLiteral("SELECT id, removed FROM measurements WHERE cell = ?")))
            return m_db.fail(find);
        for (qsizetype first = 0; first < fresh.size(); first += kAskedAtOnce) {
            const qsizetype count = std::min(kAskedAtOnce, fresh.size() - first);
            QVariantList values;
            for (qsizetype i = first; i < first + count; ++i) {
                const ArchiveCell cell = registersql::cellFromBlob(fresh.at(i));
                values << fresh.at(i) << takenAt(cell) << int(cell.byte(ArchiveCell::ElementKind));
            }
            if (!insert.exec(count, values))
                return m_db.fail(insert.query());
            while (insert.query().next()) {
                const QByteArray blob = insert.query().value(1).toByteArray();
                known.insert(blob, {insert.query().value(0).toLongLong(), false});
                added.insert(blob);
            }
            if (insert.query().lastError().isValid())
                return m_db.fail(insert.query());
            for (qsizetype i = first; i < first + count; ++i) {
                if (added.contains(fresh.at(i)))
                    continue;
                find.bindValue(0, fresh.at(i)); // another program added it a moment ago
                if (!find.exec() || !find.next())
                    return m_db.fail(find);
                known.insert(fresh.at(i), {find.value(0).toLongLong(), find.value(1).toInt() != 0});
                find.finish();
            }
        }

        // Counted in the order given (the same cell again in this addition is present), and
        // each measurement linked to the source once, a hundred links per statement.
        QList<RegisterId> linked;
        QSet<RegisterId> seen;
        for (const ArchiveCell &cell : cells) {
            const QByteArray blob = cellBlob(cell);
            const auto held = known.constFind(blob);
            if (added.remove(blob))
                ++counts.added;
            else
                ++(held->second ? counts.removedBefore : counts.present);
            if (!seen.contains(held->first)) {
                seen.insert(held->first);
                linked << held->first;
            }
        }
        ChunkStatement link(db, [&dialect](qsizetype rows) {
            return dialect.insertIgnoring(QStringLiteral("measurement_sources"),
                {QStringLiteral("measurement_id"), QStringLiteral("source_id")}, {}, rows);
        });
        for (qsizetype first = 0; first < linked.size(); first += kAskedAtOnce) {
            const qsizetype count = std::min(kAskedAtOnce, linked.size() - first);
            QVariantList values;
            for (qsizetype i = first; i < first + count; ++i)
                values << linked.at(i) << source.id;
            if (!link.exec(count, values))
                return m_db.fail(link.query());
        }

        if (!execBound(query,
                QStringLiteral("UPDATE sources SET added = ?, present = ?, removed_before = ? WHERE id = ?"),
                {counts.added, counts.present, counts.removedBefore, source.id}))
            return m_db.fail(query);
        return true;
    });
}

std::optional<ImportCounts> Register::lastAddition()
{
    return registersql::selectOne(m_db,
        QStringLiteral("SELECT added, present, removed_before FROM sources ORDER BY id DESC LIMIT 1"), {},
        [](const QSqlQuery &query) {
            return ImportCounts {query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt()};
        });
}

QList<Measurement> measurementsOf(const QList<RegisterMeasurement> &listed)
{
    QList<Measurement> measurements;
    measurements.reserve(listed.size());
    int number = 0;
    for (const RegisterMeasurement &m : listed) {
        Measurement measurement;
        measurement.cell = m.cell;
        measurement.number = ++number;
        measurement.id = m.id;
        measurement.structure = m.structureName;
        measurement.site = m.site;
        measurements.append(measurement);
    }
    return measurements;
}

QList<ArchiveCell> cellsOf(const CellArchive &archive)
{
    return QList<ArchiveCell>(archive.Cells.begin(), archive.Cells.begin() + archive.Count);
}

QString additionSummary(const ImportCounts &counts)
{
    QString text = QStringLiteral("Журнал: добавлено %1, уже были %2").arg(counts.added).arg(counts.present);
    if (counts.removedBefore != 0)
        text += QStringLiteral(", удалены ранее %1").arg(counts.removedBefore);
    return text;
}

QString sourceText(const RegisterSource &source)
{
    if (source.kind == RegisterSource::Kind::File)
        return QFileInfo(source.fileName).fileName();
    QString text
        = QStringLiteral("скачано %1").arg(source.addedAt.toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    if (!source.serialNumber.isEmpty())
        text += QStringLiteral(" (№ %1)").arg(source.serialNumber);
    return text;
}

} // namespace luvir
