#pragma once
// What the register's own source files share: running a statement with its values bound,
// and a cell's columns.

#include "ArchiveCell.h"

#include <QByteArray>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <algorithm>

namespace luvir::registersql {

// Binds `values` to the prepared statement's "?" in order. A text never given (a null
// QString) is stored as an empty text, not as NULL: every text column is NOT NULL.
inline void bindAll(QSqlQuery &query, const QVariantList &values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QVariant &value = values.at(i);
        const bool nullText = value.typeId() == QMetaType::QString && value.toString().isNull();
        query.bindValue(static_cast<int>(i), nullText ? QVariant(QStringLiteral("")) : value);
    }
}

// Prepares `sql` and runs it with `values` bound. Never pastes a value into the statement.
inline bool execBound(QSqlQuery &query, const QString &sql, const QVariantList &values = {})
{
    if (!query.prepare(sql))
        return false;
    bindAll(query, values);
    return query.exec();
}

inline QByteArray cellBlob(const ArchiveCell &cell)
{
    return QByteArray(reinterpret_cast<const char *>(cell.bytes.data()), static_cast<qsizetype>(kCellSize));
}

inline ArchiveCell cellFromBlob(const QByteArray &blob)
{
    ArchiveCell cell;
    std::copy_n(blob.constData(), std::min<qsizetype>(blob.size(), kCellSize), cell.bytes.begin());
    return cell;
}

// The moment the cell holds, as text that sorts in time order: "2026-12-10 14:05:09".
inline QString takenAt(const ArchiveCell &cell)
{
    const auto two = [&](ArchiveCell::Offset field) {
        return QStringLiteral("%1").arg(cell.byte(field), 2, 10, QLatin1Char('0'));
    };
    return QStringLiteral("20%1-%2-%3 %4:%5:%6")
        .arg(two(ArchiveCell::Year), two(ArchiveCell::Month), two(ArchiveCell::Day), two(ArchiveCell::Hour),
            two(ArchiveCell::Minute), two(ArchiveCell::Second));
}

} // namespace luvir::registersql
