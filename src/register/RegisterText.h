#pragma once
// The texts the register keeps that the user typed (names, addresses, sites, notes): no
// control character (the character of code 0 a server refuses with a technical message; a tab,
// a line feed or an escape sequence would break the lists and take over a terminal), a line
// feed only in texts of several lines (notes, the protocol's fields), and a length limit.
// One check, made before a text reaches either engine.

#include "RegisterTypes.h"

#include <QString>

namespace luvir {

// Why `text`, a text of several lines (notes, a protocol's field), cannot be kept, in the
// user's words ("Примечание не может содержать символ с кодом 9", "… не может быть длиннее
// 4000 знаков", `what` being "Примечание"); empty when it can.
QString textRefusal(const QString &text, const QString &what);
// The same for a name or label of one line (at most 200 characters).
QString nameRefusal(const QString &text, const QString &what);
// The first of the object's texts that cannot be kept (name, address, customer, notes), said
// as above; empty when all can.
QString textRefusal(const RegisterObject &object);
// The same for a structure's name, concrete class and notes.
QString textRefusal(const RegisterStructure &structure);
// The same for a measurement's site ("Участок").
QString siteRefusal(const QString &site);

} // namespace luvir
