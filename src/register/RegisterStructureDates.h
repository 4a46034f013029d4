#pragma once
// The dates a structure's record must agree with: concrete is tested after it is cast, so
// a date of concreting after the structure's first test is refused wherever it is typed
// (the properties dialog, `luvir-cli register properties`).

#include "RegisterTypes.h"

#include <QDate>

#include <optional>

namespace luvir {

class Register;

// The day a cell was measured on; none when its date is not a calendar day.
std::optional<QDate> cellDay(const ArchiveCell &cell);

// The day of the structure's first test: the earliest day among its measurements; none
// without measurements (or when the register fails: its errorString() then says why).
std::optional<QDate> firstTestDay(Register &reg, RegisterId structureId);

// Why `concreted` cannot be the structure's date of concreting, in the user's words:
// "Дата бетонирования 15.10.2026 позже первого испытания конструкции 02.03.2026." Empty
// when it can: no date, no test yet, or a date on or before the first test. When the
// register cannot be read, its reason.
QString concretingDateRefusal(Register &reg, RegisterId structureId, const QDate &concreted);

} // namespace luvir
