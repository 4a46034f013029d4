#pragma once
// What the register's own source files share: running a statement with its values bound,
// and a cell's columns.

#include "ArchiveCell.h"
#include "RegisterDatabase.h"
#include "RegisterTypes.h"

#include <QByteArray>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <algorithm>
#include <optional>
#include <utility>

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

// Every row `sql` selects (with `values` bound), each made into a value by `make`, read in
// one transaction. Empty, with the database's error set, on failure.
template <typename Make>
auto selectAll(RegisterDatabase &db, const QString &sql, const QVariantList &values, Make make)
    -> QList<decltype(make(std::declval<const QSqlQuery &>()))>
{
    QList<decltype(make(std::declval<const QSqlQuery &>()))> result;
    db.read([&] {
        QSqlQuery query(db.database());
        query.setForwardOnly(true);
        if (!execBound(query, sql, values))
            return db.fail(query);
        while (query.next())
            result << make(query);
        // A page that cannot be read ends the rows early: a failure, never a shorter list.
        if (query.lastError().isValid()) {
            result.clear();
            return db.fail(query);
        }
        return true;
    });
    return result;
}

// The first row's value, or nullopt.
template <typename Make>
auto selectOne(RegisterDatabase &db, const QString &sql, const QVariantList &values, Make make)
    -> std::optional<decltype(make(std::declval<const QSqlQuery &>()))>
{
    auto all = selectAll(db, sql, values, make);
    if (all.isEmpty())
        return std::nullopt;
    return all.first();
}

// Runs an "INSERT … RETURNING id" as one change: the new row's id, 0 on failure.
inline RegisterId insertReturningId(RegisterDatabase &db, const QString &sql, const QVariantList &values)
{
    RegisterId id = 0;
    db.write([&] {
        QSqlQuery query(db.database());
        if (!execBound(query, sql, values) || !query.next())
            return db.fail(query);
        id = query.value(0).toLongLong();
        return true;
    });
    return id;
}

// Runs `statements` in order as one change; the last must change exactly one row, or the
// change fails with `missing` as its reason.
inline bool changeOne(
    RegisterDatabase &db, const QList<std::pair<QString, QVariantList>> &statements, const QString &missing)
{
    return db.write([&] {
        QSqlQuery query(db.database());
        for (const auto &[sql, values] : statements)
            if (!execBound(query, sql, values))
                return db.fail(query);
        return query.numRowsAffected() == 1 || db.fail(missing);
    });
}

// Why an update made from what was read earlier fails when another change came between.
inline const QString kChangedMeanwhile = QStringLiteral(
    "запись изменена в другом окне или другой программой после того, как была прочитана; "
    "перечитайте журнал и повторите");
// Why a change of an object or a structure fails when there is none of that id.
inline const QString kNoObject = QStringLiteral("нет такого объекта");
inline const QString kNoStructure = QStringLiteral("нет такой конструкции");
// Why a change naming a calibration set fails when there is none of that id.
inline const QString kNoSet = QStringLiteral("в журнале нет этого градуировочного набора");

// After an update of `table`'s row `id` that changed nothing: fails with kChangedMeanwhile
// when the row is there (its revision moved on), with `missing` when it is not.
inline bool failUnchanged(RegisterDatabase &db, const QString &table, RegisterId id, const QString &missing)
{
    QSqlQuery query(db.database());
    if (!execBound(query, QStringLiteral("SELECT 1 FROM %1 WHERE id = ?").arg(table), {id}))
        return db.fail(query);
    return db.fail(query.next() ? kChangedMeanwhile : missing);
}

// Inside a change: true when the calibration set `setId` is there; otherwise fails `db` with
// kNoSet (or the database's error) and returns false.
inline bool calibrationSetThere(RegisterDatabase &db, RegisterId setId)
{
    QSqlQuery query(db.database());
    if (!execBound(query, QStringLiteral("SELECT 1 FROM calibration_sets WHERE id = ?"), {setId}))
        return db.fail(query);
    return query.next() || db.fail(kNoSet);
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
