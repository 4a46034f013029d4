#pragma once
// What the register of measurements holds, as plain values: objects, their structures,
// measurements (a cell, the structure it belongs to, its site) and the sources they came
// from; which measurements to list, and what an import did.

#include "ArchiveCell.h"
#include "CellArchive.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace luvir {

// Every id of the register: 0 is "none".
using RegisterId = qint64;

// Объект: a building site or customer's object.
struct RegisterObject {
    RegisterId id = 0;
    QString name;
    QString address;
    QString customer;
    QString notes;
    int revision = 0; // counts its changes: an update of what was read before a change fails
    friend bool operator==(const RegisterObject &, const RegisterObject &) = default;
};

// Конструкция: one structure of an object, e.g. "Колонна К-3, ось 5/Б".
struct RegisterStructure {
    RegisterId id = 0;
    RegisterId objectId = 0;
    QString name;
    int elementKind = -1; // the meter's element kind code (0 .. 11), -1 when not given
    QString designClass; // e.g. "B25"
    QDate concretedOn; // null when not given
    QString notes;
    int revision = 0; // counts its changes: an update of what was read before a change fails
    friend bool operator==(const RegisterStructure &, const RegisterStructure &) = default;
};

// Источник: one download or one archive file added.
struct RegisterSource {
    enum class Kind { Download = 1, File = 2 };
    RegisterId id = 0;
    Kind kind = Kind::File;
    QDateTime addedAt;
    ProtocolVersion version; // of the meter or the file
    QString serialNumber; // the meter's, where the link reported one
    QString fileName; // the archive file's, for Kind::File
};

// Измерение: one cell kept once, with where it belongs.
struct RegisterMeasurement {
    RegisterId id = 0;
    ArchiveCell cell;
    RegisterId structureId = 0; // 0: "Не распределены"
    QString site; // Участок: "1", "2а" …
    QString structureName; // empty when unassigned
    QString objectName;
    RegisterId firstSourceId = 0; // the source it first came from
    int revision = 0; // counts changes of its structure, site and removal
};

// Which measurements to list. Removed ones are never listed.
struct MeasurementSelection {
    enum class Scope { All, Structure, Unassigned };
    Scope scope = Scope::All;
    RegisterId structureId = 0; // for Scope::Structure
    QDate from; // taken on or after this day; null: no lower bound
    QDate to; // taken on or before this day; null: no upper bound
    int elementKind = -1; // only this element kind code; -1: any

    static MeasurementSelection all() { return {}; }
    static MeasurementSelection unassigned() { return {Scope::Unassigned, 0, {}, {}, -1}; }
    static MeasurementSelection ofStructure(RegisterId id) { return {Scope::Structure, id, {}, {}, -1}; }
};

// What one addition did with its cells.
struct ImportCounts {
    int added = 0; // new measurements
    int present = 0; // the register held them already ("уже были")
    int removedBefore = 0; // held, but removed by the user ("удалены ранее"); not brought back
    int total() const { return added + present + removedBefore; }
    ImportCounts &operator+=(const ImportCounts &other)
    {
        added += other.added;
        present += other.present;
        removedBefore += other.removedBefore;
        return *this;
    }
    friend bool operator==(const ImportCounts &, const ImportCounts &) = default;
};

// The number of measurements under one node of the tree.
struct StructureCount {
    RegisterId structureId = 0;
    int measurements = 0;
};

} // namespace luvir
