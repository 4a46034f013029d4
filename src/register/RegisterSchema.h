#pragma once
// The register's schema: its version number and the steps that bring a register of any
// earlier version forward, each step one transaction.

#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace luvir {

class SqlDialect;

// The version this program writes and reads. A register of a higher number was made by a
// newer program and is refused.
inline constexpr int kRegisterSchemaVersion = 7;

// The statements of the step from version `from` to `from + 1` (from 0: creating the
// whole schema), in the dialect's words.
QStringList schemaStep(int from, const SqlDialect &dialect);

// Walks `database` from version `current` up to kRegisterSchemaVersion, each step in a
// transaction of its own together with the new version number. False, with the reason in
// `error`, when a step failed; the register then stays at the last version reached.
// `renamed` gains a line, in the user's words, for each name a step had to change (two
// objects of one name, or two structures of one name in one object, before version 4).
bool migrateRegister(QSqlDatabase &database, const SqlDialect &dialect, int current, QString &error,
    QStringList &renamed);

} // namespace luvir
