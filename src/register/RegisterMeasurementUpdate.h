#pragma once
// Changing measurements one by one inside the caller's transaction: the one way every change
// of measurements, by id or from what a window read, is made and checked.

#include "RegisterDatabase.h"
#include "RegisterTypes.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <optional>

namespace luvir::registersql {

// A measurement to change: its id and, when the change was made from what was read, the
// revision it had then.
struct MeasurementTarget {
    RegisterId id = 0;
    std::optional<int> revision;
};

QList<MeasurementTarget> targetsOf(const QList<RegisterId> &ids);
QList<MeasurementTarget> targetsOf(const QList<RegisterMeasurement> &read);

// "UPDATE measurements SET `set`" on each target not removed, counting the change in its
// revision; `values` are bound before each id: values[i] for the i-th target, or the one list
// given for every target. Fails on a target that changes nothing: with its revision (made from
// what was read), one changed or removed since is a changed record (kChangedMeanwhile); else, or
// when there is no such measurement at all, "в журнале нет измерения N".
bool updateEach(RegisterDatabase &db, const QString &set, const QList<QVariantList> &values,
    const QList<MeasurementTarget> &targets);

} // namespace luvir::registersql
