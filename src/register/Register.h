#pragma once
// The register of measurements ("Журнал испытаний"): every measurement ever downloaded or
// added from a file, kept once (its 42 bytes are its identity), with the object,
// structure and site it was taken on and every source it came from. Windows and the
// command line call this class; none of them holds SQL.
//
// Every call is one transaction: it happens whole or not at all. A call that fails
// returns false (or an empty result) and errorString() says why in the user's words.

#include "RegisterCalibration.h"
#include "RegisterDatabase.h"
#include "RegisterTypes.h"

#include "Measurement.h"

#include <QHash>
#include <QMap>

#include <optional>

namespace luvir {

// An object's customer and address as a protocol gives them (see Register::keepProtocolTexts).
struct ObjectParties {
    RegisterId objectId = 0;
    QString customer;
    QString address;
};

// Where a page of a listing starts: after the measurement taken at `takenAt` (the time as
// the register keeps it) with the id `id`. Null `takenAt`: at the first.
struct MeasurementKey {
    QString takenAt;
    RegisterId id = 0;
};

// A listing read a page at a time: the measurements `selection` chooses; with the scope
// Structure, those of every structure in `structureIds` (selection.structureId is not used).
struct MeasurementListing {
    MeasurementSelection selection;
    QList<RegisterId> structureIds;
};

// One page of a listing, and where the next one starts.
struct MeasurementPage {
    QList<RegisterMeasurement> measurements;
    MeasurementKey last; // the page's last, or where it was asked to start when it is empty
};

class Register
{
public:
    using OpenStatus = RegisterDatabase::OpenStatus;

    // Opens the register in `location` (with CreateIfMissing, makes it when there is none;
    // see RegisterDatabase::open): a file, or a database on a server
    // ("postgresql://USER@HOST:PORT/DATABASE", see RegisterServer.h). Anything but Ok leaves
    // the file or database as it was; errorString() then says why ("создан более новой
    // версией", "не является журналом", "повреждён", the server's refusal). PasswordNeeded:
    // ask the user, and open again with the `password` (used for this connection only).
    using Opening = RegisterDatabase::Opening;
    OpenStatus open(
        const QString &location, Opening opening = Opening::CreateIfMissing, const QString &password = {})
    {
        return m_db.open(location, opening, password);
    }
    // Opens this object on the register `other` is open on, for use on another thread (see
    // RegisterWriter): the same location, password and wait; nothing reopened when it is there.
    using Address = RegisterDatabase::Address;
    Address address() const { return m_db.address(); }
    OpenStatus openLike(const Address &other) { return m_db.openLike(other); }
    // Opened for reading only (a folder that cannot be written): every change fails, saying why.
    bool isReadOnly() const { return m_db.isReadOnly(); }
    SqlDialect::Engine engine() const { return m_db.dialect().engine(); }
    void close() { m_db.close(); }
    bool isOpen() const { return m_db.isOpen(); }
    QString fileName() const { return m_db.fileName(); }
    QString errorString() const { return m_db.errorString(); }
    // Names the opening had to change to bring an older register forward (two objects, or two
    // structures of one object, of one name), a line each; to be told the user once.
    QStringList renamedOnUpgrade() const { return m_db.renamedOnUpgrade(); }
    // How long a change waits for another program writing the register before it fails.
    void setBusyTimeout(int milliseconds) { m_db.setBusyTimeout(milliseconds); }

    // Объекты, by name. An object's name is unique in the register, a structure's within its
    // object: adding or renaming to a name taken fails, saying so.
    QList<RegisterObject> objects();
    std::optional<RegisterObject> object(RegisterId id);
    // The new object's id; 0 on failure.
    RegisterId addObject(const RegisterObject &object);
    // Writes the object as it was read and edited: fails, saying that the record changed,
    // when another window or program changed it since (its revision is not the one read).
    bool updateObject(const RegisterObject &object);
    // Removes the object and its structures; their measurements become unassigned.
    bool removeObject(RegisterId id);

    // Конструкции of one object (0: of every object), by name.
    QList<RegisterStructure> structures(RegisterId objectId = 0);
    std::optional<RegisterStructure> structure(RegisterId id);
    // The structures called `name`, of the object called `objectName` when one is given.
    QList<RegisterStructure> findStructures(const QString &name, const QString &objectName = {});
    QList<RegisterObject> findObjects(const QString &name);
    RegisterId addStructure(const RegisterStructure &structure);
    // As updateObject: fails when the structure changed since it was read.
    bool updateStructure(const RegisterStructure &structure);
    // Removes the structure; its measurements become unassigned, none is removed.
    bool removeStructure(RegisterId id);

    // The selected measurements in time order (then in the order they were added).
    QList<RegisterMeasurement> measurements(const MeasurementSelection &selection);
    // The listing's measurements after `after`, at most `limit`, in the order measurements()
    // gives them: one page of a long list. Empty, with errorString() set, on failure.
    MeasurementPage measurementPage(
        const MeasurementListing &listing, const MeasurementKey &after, int limit);
    // How many measurements the listing holds; -1 on failure.
    int measurementCount(const MeasurementListing &listing);
    // How many measurements each structure holds; structureId 0 is "Не распределены".
    // Structures without measurements are not listed.
    QList<StructureCount> measurementCounts();
    std::optional<RegisterMeasurement> measurement(RegisterId id);

    // Puts the measurements in the structure; with `site`, sets their site label too.
    // All or none: an id the register does not hold (or holds as removed) fails the call.
    bool assign(
        const QList<RegisterId> &ids, RegisterId structureId, const std::optional<QString> &site = {});
    // The same for measurements as they were read: fails whole, saying that the record
    // changed, when another window or program changed one of them since (its revision).
    bool assignAsRead(const QList<RegisterMeasurement> &read, RegisterId structureId,
        const std::optional<QString> &site = {});
    // Puts the measurements in the structure called `structureName` of the object called
    // `objectName`, making the object and the structure first when the register has none of
    // those names. One change: programs doing the same at the same moment make one object and
    // one structure between them, and each assigns its measurements. `structure`, when given,
    // receives the structure's id, object and name.
    bool assignNamed(const QList<RegisterId> &ids, const QString &objectName, const QString &structureName,
        const std::optional<QString> &site = {}, RegisterStructure *structure = nullptr);
    // Takes the measurements out of their structures ("Не распределены"); their site goes too.
    bool unassign(const QList<RegisterId> &ids);
    bool setSite(RegisterId id, const QString &site);
    // Marks the measurements removed: they are no longer listed, and adding the same cell
    // again does not bring them back (it is counted as removed before).
    bool markRemoved(const QList<RegisterId> &ids);

    // Edits made from what a window read (RegisterEditsAsRead.cpp): as assignAsRead, each
    // fails whole, changing nothing and saying that the record changed, when another window
    // or program changed one of the records it touches since it was read.
    bool unassignAsRead(const QList<RegisterMeasurement> &read);
    // Each measurement gets the site label of the same place in `sites`.
    bool setSitesAsRead(const QList<RegisterMeasurement> &read, const QStringList &sites);
    bool markRemovedAsRead(const QList<RegisterMeasurement> &read);
    // The structure as read, holding exactly the measurements `held` as read.
    bool removeStructureAsRead(const RegisterStructure &read, const QList<RegisterMeasurement> &held);
    // The object as read, with exactly `structures`, holding exactly `held`, all as read.
    bool removeObjectAsRead(const RegisterObject &read, const QList<RegisterStructure> &structures,
        const QList<RegisterMeasurement> &held);

    // Every source, oldest first.
    QList<RegisterSource> sources();
    std::optional<RegisterSource> source(RegisterId id);

    // Adds `cells` from `source` (one download or one archive file) as one transaction:
    // new cells become measurements, every cell is linked to the source. `counts` says
    // what became of them. The source's own id is set in `source.id`.
    bool importCells(const QList<ArchiveCell> &cells, RegisterSource &source, ImportCounts &counts);
    // What the latest addition did; nullopt when nothing was ever added.
    std::optional<ImportCounts> lastAddition();

    // The texts of the test protocol kept for next time, by name: those of every protocol
    // (scope empty: the laboratory, the executor …) or those of one meter
    // (instrumentScope(serial number): its verification).
    QMap<QString, QString> protocolFields(const QString &scope = {});
    // Keeps `fields` in `scope` as one change: each replaces the text of its name; names not
    // given keep theirs.
    bool setProtocolFields(const QString &scope, const QMap<QString, QString> &fields);
    // Keeps the texts of several scopes, as setProtocolFields does, and (when `object.objectId`
    // is not 0) the object's customer and address, all as one change: all are kept or none.
    bool keepProtocolTexts(const QMap<QString, QMap<QString, QString>> &byScope, const ObjectParties &object = {});
    static QString instrumentScope(const QString &serialNumber)
    {
        return QStringLiteral("instrument:") + serialNumber;
    }

    // Градуировочные наборы (RegisterCalibration.cpp), by name, and their sites in the order
    // they were added. Removing a set removes its sites; its measurements stay.
    QList<CalibrationSet> calibrationSets();
    std::optional<CalibrationSet> calibrationSet(RegisterId id);
    QList<CalibrationSet> findCalibrationSets(const QString &name);
    RegisterId addCalibrationSet(const CalibrationSet &set);
    // As updateObject: fails when the set changed since it was read.
    bool updateCalibrationSet(const CalibrationSet &set);
    bool removeCalibrationSet(RegisterId id);
    QList<CalibrationSite> calibrationSites(RegisterId setId);
    // Adds a site to its set, dated `now`. Refused: a direct strength of 0 or less; a
    // measurement the register does not hold or whose Kc is 0; a typed site without a
    // label or with H of 0 or less.
    RegisterId addCalibrationSite(const CalibrationSite &site, const QDateTime &now = QDateTime::currentDateTime());
    // Adds the sites, each to its set and dated `now`, as one change: all of them, or none
    // when the register refuses one (as addCalibrationSite would, saying why). `ids`, when
    // given, receives the new sites' ids in order.
    bool addCalibrationSites(const QList<CalibrationSite> &sites,
        const QDateTime &now = QDateTime::currentDateTime(), QList<RegisterId> *ids = nullptr);
    bool removeCalibrationSite(RegisterId id);
    // A structure's applied dependency (one or none; RegisterCalibration.cpp): nullopt when it
    // has none or the register fails (errorString() then says why). Setting one replaces the
    // one it had; both are made from the structure as read and count as its change (its
    // revision moves on): they fail, saying that the record changed, when another window or
    // program changed the structure since. A removed set leaves its structures their
    // dependency with the figures kept, no longer linked to the set (setId 0). An own
    // dependency not accepted, or a Kc of 0, is refused.
    std::optional<AppliedDependency> structureDependency(RegisterId structureId);
    // Every structure's dependency by structure, in one read, with its figures but without its
    // sites: what a list of many structures needs to show the strengths by them.
    QHash<RegisterId, AppliedDependency> structureDependencies();
    bool setStructureDependency(const RegisterStructure &read, const AppliedDependency &dependency);
    bool removeStructureDependency(const RegisterStructure &read);
    // Writes a copy of the whole register, as of one moment, to the file `target` (replaced
    // whole when it is there; nothing is left when the copy fails). The copy opens as a
    // register. Works while other programs write, and on a register opened for reading. A
    // register on a server is refused: its copy is made with pg_dump.
    bool backup(const QString &target);

private:
    RegisterDatabase m_db;
};

// The listed measurements as the program's measurement records, numbered 1.. in the
// listed order, with their register id, structure and site: what the statistics, the
// chart and the table take.
QList<Measurement> measurementsOf(const QList<RegisterMeasurement> &listed);

// The valid cells of an archive, in order.
QList<ArchiveCell> cellsOf(const CellArchive &archive);

// "Журнал: добавлено N, уже были M", with ", удалены ранее K" when K is not 0.
QString additionSummary(const ImportCounts &counts);

// What the opening of `reg` changed to bring an older register forward, told once, as the
// user reads it: "В журнале были одинаковые названия; они изменены:" and a line for each; empty
// when nothing was changed.
QString upgradeNotice(const Register &reg);

// How the source is named in the register's lists: "скачано 10.12.2026 14:05 (№ 1234)" or
// the archive file's name.
QString sourceText(const RegisterSource &source);

} // namespace luvir
