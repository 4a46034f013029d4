#pragma once
// The texts the register keeps that the user typed (names, addresses, sites, notes) must not
// hold the character of code 0: a file register would keep a text a server refuses with a
// technical message of its driver. One check, made before a text reaches either engine.

#include "RegisterTypes.h"

#include <QString>

namespace luvir {

// Why `text` cannot be kept, in the user's words ("Название не может содержать символ с
// кодом 0", `what` being "Название"); empty when it can.
QString textRefusal(const QString &text, const QString &what);
// The first of the object's texts that cannot be kept (name, address, customer, notes), said
// as above; empty when all can.
QString textRefusal(const RegisterObject &object);
// The same for a structure's name, concrete class and notes.
QString textRefusal(const RegisterStructure &structure);
// The same for a measurement's site ("Участок").
QString siteRefusal(const QString &site);

} // namespace luvir
