// A copy of the register a laboratory keeps: the whole file as of one moment, written
// beside the target and put in its place only once complete.
#include "Register.h"

#include "RegisterFileCheck.h"
#include "RegisterQuery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

namespace luvir {

using namespace registersql;

bool Register::backup(const QString &target)
{
    const QString shown = QDir::toNativeSeparators(target);
    const auto failed = [&](const QString &why) {
        return m_db.fail(QStringLiteral("не удалось сохранить копию журнала в \"%1\": %2").arg(shown, why));
    };
    if (m_db.dialect().copyInto().isEmpty())
        return failed(QStringLiteral("копию журнала на сервере PostgreSQL делает pg_dump (например, "
                                     "pg_dump -Fc -f register.dump ИМЯ_БАЗЫ)"));
    if (!isOpen())
        return failed(QStringLiteral("журнал не открыт"));
    if (QFileInfo(target).absoluteFilePath() == QFileInfo(fileName()).absoluteFilePath())
        return failed(QStringLiteral("это сам журнал"));
    if (QFileInfo(target).isDir())
        return failed(QStringLiteral("это папка"));
    // An empty file of our own beside the target: SQLite writes into it, and only a whole
    // copy takes the target's name.
    QTemporaryFile partial(QFileInfo(target).absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!partial.open()) {
        const int error = folderWriteError(target);
        return failed(error != 0 ? systemReason(error) : partial.errorString());
    }
    partial.close();
    QSqlQuery query(m_db.database());
    if (!execBound(query, m_db.dialect().copyInto(), {partial.fileName()})) {
        m_db.fail(query);
        return failed(m_db.errorString());
    }
    query.finish();
    const QByteArray from = QFile::encodeName(partial.fileName());
    const QByteArray to = QFile::encodeName(QFileInfo(target).absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0)
        return failed(systemReason(errno));
    partial.setAutoRemove(false);
    return true;
}

} // namespace luvir
