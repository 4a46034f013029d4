#include "RegisterSchema.h"

#include "SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QHash>
#include <QScopeGuard>
#include <QSet>

#include <functional>

namespace luvir {

namespace {

// Version 1: objects, structures, measurements (identified by their 42 bytes), sources and
// which measurement came from which source. A structure's deletion returns its measurements
// to "unassigned"; an object's deletion takes its structures with it.
const char *const kVersion1[] = {
    "CREATE TABLE objects ("
    " id {id},"
    " name TEXT NOT NULL,"
    " address TEXT NOT NULL DEFAULT '',"
    " customer TEXT NOT NULL DEFAULT '',"
    " notes TEXT NOT NULL DEFAULT '')",
    "CREATE TABLE structures ("
    " id {id},"
    " object_id BIGINT NOT NULL REFERENCES objects(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " element_kind INTEGER NOT NULL DEFAULT -1,"
    " design_class TEXT NOT NULL DEFAULT '',"
    " concreted_on TEXT NOT NULL DEFAULT '',"
    " notes TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX structures_object ON structures(object_id, name)",
    "CREATE TABLE measurements ("
    " id {id},"
    " cell {blob} NOT NULL UNIQUE CHECK (length(cell) = 42),"
    " taken_at TEXT NOT NULL,"
    " element_kind INTEGER NOT NULL,"
    " structure_id BIGINT REFERENCES structures(id) ON DELETE SET NULL,"
    " site TEXT NOT NULL DEFAULT '',"
    " removed INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX measurements_structure ON measurements(structure_id, removed, taken_at)",
    "CREATE INDEX measurements_taken ON measurements(taken_at)",
    "CREATE TABLE sources ("
    " id {id},"
    " kind INTEGER NOT NULL,"
    " added_at TEXT NOT NULL,"
    " version_major INTEGER NOT NULL,"
    " version_minor INTEGER NOT NULL,"
    " serial_number TEXT NOT NULL DEFAULT '',"
    " file_name TEXT NOT NULL DEFAULT '',"
    " added INTEGER NOT NULL DEFAULT 0,"
    " present INTEGER NOT NULL DEFAULT 0,"
    " removed_before INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE measurement_sources ("
    " measurement_id BIGINT NOT NULL REFERENCES measurements(id) ON DELETE CASCADE,"
    " source_id BIGINT NOT NULL REFERENCES sources(id) ON DELETE CASCADE,"
    " PRIMARY KEY (measurement_id, source_id))",
    "CREATE INDEX measurement_sources_source ON measurement_sources(source_id)",
};

// Version 2: a revision number on every row two engineers may edit at once, so that an
// update made from what was read before another's change fails instead of overwriting it.
const char *const kVersion2[] = {
    "ALTER TABLE objects ADD COLUMN revision INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE structures ADD COLUMN revision INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE measurements ADD COLUMN revision INTEGER NOT NULL DEFAULT 0",
};

// Version 3: the texts of the test protocol typed once and offered again. `scope` is empty for
// those of every protocol (the laboratory, the executor) and "instrument:SERIAL" for those of
// one meter (its verification); an object's customer and address are its own columns.
const char *const kVersion3[] = {
    "CREATE TABLE protocol_fields ("
    " scope TEXT NOT NULL,"
    " name TEXT NOT NULL,"
    " value TEXT NOT NULL,"
    " PRIMARY KEY (scope, name))",
};

// Version 4: one name, one thing. An object's name is unique in the register and a
// structure's within its object, kept by the database itself, so that two programs making
// "К-3" at the same moment cannot both succeed. Twins made before are renamed first
// (renameTwins).
const char *const kVersion4[] = {
    "DROP INDEX structures_object",
    "CREATE UNIQUE INDEX structures_name ON structures(object_id, name)",
    "CREATE UNIQUE INDEX objects_name ON objects(name)",
};

struct NamedRow {
    qlonglong id = 0;
    qlonglong scope = 0; // the object of a structure; 0 for an object
    QString name;
    QString scopeName; // the object's name, for a structure
};

// Gives every later twin in its scope a name of its own, "name (2)", "name (3)" …, one no
// other row of the scope has; the earliest keeps its name. Each renaming is told in `renamed`.
bool renameTwinsIn(QSqlDatabase &database, const QString &select, const QString &table,
    const std::function<QString(const NamedRow &, const QString &)> &told, QStringList &renamed, QString &error)
{
    QList<NamedRow> rows;
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(select)) {
        error = query.lastError().text();
        return false;
    }
    while (query.next())
        rows.append({query.value(0).toLongLong(), query.value(1).toLongLong(), query.value(2).toString(),
            query.value(3).toString()});
    query.finish();

    QHash<qlonglong, QSet<QString>> taken; // every name of each scope, the new ones too
    for (const NamedRow &row : std::as_const(rows))
        taken[row.scope].insert(row.name);
    QHash<qlonglong, QSet<QString>> seen;
    for (const NamedRow &row : std::as_const(rows)) {
        if (!seen[row.scope].contains(row.name)) {
            seen[row.scope].insert(row.name);
            continue;
        }
        QString name;
        for (int n = 2; name.isEmpty() || taken[row.scope].contains(name); ++n)
            name = QStringLiteral("%1 (%2)").arg(row.name).arg(n);
        taken[row.scope].insert(name);
        QSqlQuery update(database);
        update.prepare(QStringLiteral("UPDATE %1 SET name = ?, revision = revision + 1 WHERE id = ?").arg(table));
        update.addBindValue(name);
        update.addBindValue(row.id);
        if (!update.exec()) {
            error = update.lastError().text();
            return false;
        }
        renamed << told(row, name);
    }
    return true;
}

bool renameTwins(QSqlDatabase &database, QStringList &renamed, QString &error)
{
    return renameTwinsIn(database, QStringLiteral("SELECT id, 0, name, '' FROM objects ORDER BY id"),
               QStringLiteral("objects"),
               [](const NamedRow &row, const QString &name) {
                   return QStringLiteral("объект \"%1\" переименован в \"%2\": так уже назывался другой объект")
                       .arg(row.name, name);
               },
               renamed, error)
        && renameTwinsIn(database,
            QStringLiteral("SELECT s.id, s.object_id, s.name, o.name FROM structures s "
                           "JOIN objects o ON o.id = s.object_id ORDER BY s.id"),
            QStringLiteral("structures"),
            [](const NamedRow &row, const QString &name) {
                return QStringLiteral("конструкция \"%1\" объекта \"%2\" переименована в \"%3\": "
                                      "так уже называлась другая конструкция этого объекта")
                    .arg(row.name, row.scopeName, name);
            },
            renamed, error);
}

// Version 5: calibration sets and their sites. A site is a register measurement (H is read
// from its cell) or typed (label and H); the direct strength and the direct test's date are
// typed; added_at orders the sites for a set recomputed on its newest.
const char *const kVersion5[] = {
    "CREATE TABLE calibration_sets ("
    " id {id},"
    " name TEXT NOT NULL,"
    " direct_method INTEGER NOT NULL,"
    " concrete TEXT NOT NULL DEFAULT '',"
    " made_on TEXT NOT NULL DEFAULT '',"
    " notes TEXT NOT NULL DEFAULT '',"
    " revision INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE calibration_sites ("
    " id {id},"
    " set_id BIGINT NOT NULL REFERENCES calibration_sets(id) ON DELETE CASCADE,"
    " measurement_id BIGINT REFERENCES measurements(id),"
    " label TEXT NOT NULL DEFAULT '',"
    " indirect DOUBLE PRECISION NOT NULL DEFAULT 0,"
    " direct DOUBLE PRECISION NOT NULL,"
    " tested_on TEXT NOT NULL DEFAULT '',"
    " added_at TEXT NOT NULL)",
    "CREATE INDEX calibration_sites_set ON calibration_sites(set_id)",
    "CREATE INDEX calibration_sites_measurement ON calibration_sites(measurement_id)",
};

// Version 6: the dependency applied to a structure, one or none, with the figures it had
// when applied (frozen) and the sites it was computed on. A removed set leaves it, unlinked.
const char *const kVersion6[] = {
    "CREATE TABLE structure_dependencies ("
    " structure_id BIGINT PRIMARY KEY REFERENCES structures(id) ON DELETE CASCADE,"
    " kind INTEGER NOT NULL,"
    " set_id BIGINT REFERENCES calibration_sets(id) ON DELETE SET NULL,"
    " set_name TEXT NOT NULL DEFAULT '',"
    " method_name TEXT NOT NULL DEFAULT '',"
    " applied_on TEXT NOT NULL DEFAULT '',"
    " a DOUBLE PRECISION NOT NULL DEFAULT 0,"
    " b DOUBLE PRECISION NOT NULL DEFAULT 0,"
    " s DOUBLE PRECISION NOT NULL DEFAULT 0,"
    " r DOUBLE PRECISION NOT NULL DEFAULT 0,"
    " h_min DOUBLE PRECISION NOT NULL DEFAULT 0,"
    " h_max DOUBLE PRECISION NOT NULL DEFAULT 0,"
    " sites_kept INTEGER NOT NULL DEFAULT 0,"
    " sites_before INTEGER NOT NULL DEFAULT 0,"
    " accepted INTEGER NOT NULL DEFAULT 0,"
    " kc DOUBLE PRECISION NOT NULL DEFAULT 0,"
    " kc_sites INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX structure_dependencies_set ON structure_dependencies(set_id)",
    "CREATE TABLE structure_dependency_sites ("
    " structure_id BIGINT NOT NULL REFERENCES structure_dependencies(structure_id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL,"
    " label TEXT NOT NULL DEFAULT '',"
    " indirect DOUBLE PRECISION NOT NULL,"
    " direct DOUBLE PRECISION NOT NULL,"
    " counted INTEGER NOT NULL,"
    " PRIMARY KEY (structure_id, position))",
};

// Version 7: no index on the time of measurement alone. Every list is read by structure (or
// of no structure) in the time order of measurements_structure; the whole register in time
// order is read faster by sorting the table than through that index, row by row. Its pages
// were a third of what an addition writes when the new cells' times fall among the held ones
// (old archive files added to a register).
const char *const kVersion7[] = {
    "DROP INDEX measurements_taken",
};

} // namespace

QStringList schemaStep(int from, const SqlDialect &dialect)
{
    QStringList statements;
    if (from == 0) {
        statements << dialect.writeMark();
        for (const char *statement : kVersion1)
            statements << dialect.schemaText(QString::fromUtf8(statement));
    } else if (from == 1) {
        for (const char *statement : kVersion2)
            statements << dialect.schemaText(QString::fromUtf8(statement));
    } else if (from == 2) {
        for (const char *statement : kVersion3)
            statements << dialect.schemaText(QString::fromUtf8(statement));
    } else if (from == 3) {
        for (const char *statement : kVersion4)
            statements << dialect.schemaText(QString::fromUtf8(statement));
    } else if (from == 4) {
        for (const char *statement : kVersion5)
            statements << dialect.schemaText(QString::fromUtf8(statement));
    } else if (from == 5) {
        for (const char *statement : kVersion6)
            statements << dialect.schemaText(QString::fromUtf8(statement));
    } else if (from == 6) {
        for (const char *statement : kVersion7)
            statements << dialect.schemaText(QString::fromUtf8(statement));
    }
    return statements;
}

bool migrateRegister(
    QSqlDatabase &database, const SqlDialect &dialect, int current, QString &error, QStringList &renamed)
{
    int version = current;
    while (version < kRegisterSchemaVersion) {
        QSqlQuery query(database);
        auto fail = [&] {
            error = query.lastError().text();
            query.finish();
            QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
            return false;
        };
        if (!dialect.lockSchema().isEmpty() && !query.exec(dialect.lockSchema()))
            return fail();
        const auto unlock = qScopeGuard([&] {
            if (!dialect.unlockSchema().isEmpty())
                QSqlQuery(database).exec(dialect.unlockSchema());
        });
        if (!query.exec(dialect.beginWrite()))
            return fail();
        // Another program may have taken the same step while this one waited for the lock.
        if (!query.exec(dialect.readVersion()) || !query.next())
            return fail();
        const int found = query.value(0).toInt();
        query.finish();
        QStringList statements;
        QStringList renamedHere;
        if (found == version) {
            if (version == 3 && !renameTwins(database, renamedHere, error)) {
                QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
                return false;
            }
            statements = schemaStep(version, dialect) + dialect.writeVersion(version + 1);
        }
        for (const QString &statement : statements)
            if (!query.exec(statement))
                return fail();
        query.finish();
        if (!query.exec(QStringLiteral("COMMIT")))
            return fail();
        renamed += renamedHere;
        if (found > kRegisterSchemaVersion) {
            error = QStringLiteral("schema version %1").arg(found);
            return false;
        }
        version = found == version ? version + 1 : found;
    }
    return true;
}

} // namespace luvir
