#pragma once
// The register's one door to its database: owns a named Qt SQL connection (one per object,
// used from the thread that made it), opens a register file or refuses it untouched,
// creates and migrates the schema, and runs each change as one transaction, again from the
// start while another program holds the database.

#include "SqlDialect.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

class QSqlError;
class QSqlQuery;

namespace luvir {

class RegisterDatabase
{
public:
    enum class OpenStatus {
        Ok,
        NewerSchema, // made by a newer program; left untouched
        NotARegister, // another kind of file or database; left untouched
        Damaged, // a register, but its file is damaged or cut short; left untouched
        CannotOpen, // the file cannot be opened or created (folder, rights, disk), or the
                    // server cannot be reached, refuses the user, or is too old
        PasswordNeeded, // the server wants a password libpq did not find: ask, and open again
    };

    // How long a transaction waits for another writer, then tries again, before giving up.
    static constexpr int kDefaultBusyMs = 5000;

    RegisterDatabase();
    ~RegisterDatabase();
    RegisterDatabase(const RegisterDatabase &) = delete;
    RegisterDatabase &operator=(const RegisterDatabase &) = delete;

    // Opens the register in `location`. A file that is not there (or is empty) is made a
    // new register, with its folder, only with CreateIfMissing (adding, a download, «Создать
    // журнал…»); ExistingOnly refuses it, naming it, and makes nothing. Anything but Ok
    // leaves the file and its -wal and -shm byte for byte as they were, and errorString()
    // says why in the user's words. Every way of opening makes the same check, whose cost
    // does not grow with the register (see RegisterFileCheck.h); damage a later call meets
    // fails that call, and every change after it, saying so.
    // A file in a folder that cannot be written (a read-only share, a full disk) is opened
    // for reading; a change then fails naming the folder and the system's reason.
    // A location "postgresql://…" is a database on a server (see RegisterServer.h): its
    // schema is created there when the database is empty and the user may create it; a
    // database holding anything else is refused untouched. `password`, when given, is used
    // for this connection only (and to connect again after the connection was lost); else
    // the one the user typed for this location earlier in this run (sessionPassword()).
    enum class Opening { CreateIfMissing, ExistingOnly };
    OpenStatus open(
        const QString &location, Opening opening = Opening::CreateIfMissing, const QString &password = {});
    void close();
    bool isOpen() const { return m_open; }

    // Where this connection goes, to open another connection to the same register on another
    // thread (see RegisterWriter): the location, the password this connection was opened
    // with, the wait for another writer, and whether damage was met. Its password is not to
    // be read: only openLike() uses it.
    class Address
    {
    public:
        Address() = default;
        bool operator==(const Address &) const = default;

    private:
        friend class RegisterDatabase;
        QString m_location;
        QString m_password;
        int m_busyMs = kDefaultBusyMs;
        bool m_damaged = false;
    };
    Address address() const;
    // Makes this connection one to `address`'s register, opening it (as ExistingOnly) unless
    // it is open there already; its wait is `address`'s, and damage met by the other
    // connection stops this one's changes too. The address of a closed connection opens
    // nothing ("журнал не открыт").
    OpenStatus openLike(const Address &address);
    // Opened for reading only (its folder cannot be written); every change fails.
    bool isReadOnly() const { return !m_readOnlyReason.isEmpty(); }
    // The file, or the server's location without a password.
    QString fileName() const { return m_fileName; }

    void setBusyTimeout(int milliseconds);

    QSqlDatabase database() const;
    const SqlDialect &dialect() const { return m_dialect; }

    // Runs `work` inside one write transaction and commits it. When the database is busy
    // with another writer the transaction is rolled back and `work` runs again from the
    // start, for up to the busy time. False, nothing changed and errorString() set, when
    // `work` returned false (after calling fail()) or the database refused.
    bool write(const std::function<bool()> &work);
    // Runs `work` inside one read transaction, so everything it reads is of one moment.
    bool read(const std::function<bool()> &work);

    // Records the query's error as the reason of the current failure; returns false.
    bool fail(const QSqlQuery &query);
    // Records a reason of the register's own ("no measurement 12"); returns false.
    bool fail(const QString &reason);

    // The last refusal or failure, in the user's words; empty after success.
    QString errorString() const { return m_error; }

    // The names the last opening had to change to bring an older register forward, a line
    // each in the user's words (see migrateRegister); empty almost always. Said once: the
    // next opening finds the register brought forward already.
    QStringList renamedOnUpgrade() const { return m_renamedOnUpgrade; }

private:
    OpenStatus refuse(OpenStatus status, const QString &text);
    OpenStatus openFile(const QString &fileName, Opening opening);
    OpenStatus createFile(const QString &fileName, bool made);
    OpenStatus openExistingFile(const QString &fileName, int version);
    // Opens the Qt connection to the file: read-write, or read-only (readOnlyUri()).
    bool connectFile(const QString &fileName, bool readOnly);
    // Brings the file's schema to this program's version and turns its log on.
    bool prepareFile(int version, QString &error);
    OpenStatus openServer(const QString &location, const QString &password);
    OpenStatus inspectAndPrepare();
    OpenStatus checkServer();
    // Connects again to a server whose connection was lost; false (and errorString()) when
    // it still cannot be reached.
    bool reconnectIfLost();
    void applyBusyTimeout();
    // The user's words for a database error: busy, read-only, disk full, damaged, or Qt's text.
    QString describe(const QSqlError &error) const;

    SqlDialect m_dialect;
    QString m_password; // typed for this connection; never written anywhere
    QString m_connectionName;
    QString m_fileName;
    QString m_error;
    QStringList m_renamedOnUpgrade;
    QString m_readOnlyReason; // why a file opened for reading only cannot be changed
    bool m_damaged = false; // SQLite met a damaged page: nothing more is written
    int m_busyMs = kDefaultBusyMs;
    bool m_open = false;
    bool m_lastBusy = false; // the last failure was another writer's lock
};

} // namespace luvir
