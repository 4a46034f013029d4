#pragma once
// Protocols for the tests and the benchmark: header fields, and structures of generated or
// hand-made measurements.

#include "ProtocolContent.h"
#include "Register.h"

namespace luvir::test {

// Header fields of an ordinary protocol.
ProtocolHeader plainHeader();
// Header fields with quotes, long names, line breaks and stray control characters.
ProtocolHeader awkwardHeader();

// A structure of `sites` realistic measurements labelled "1", "2", …, all on the basic
// dependency with Kc 1.00, measured on 5 and 6 March 2026 (concreted 6 February 2026).
ProtocolStructure generatedStructure(const QString &name, int sites, int seed = 0);

// A structure whose sites use two dependencies and two Kc values.
ProtocolStructure mixedStructure();

// The k-th number a window offers today after fillRegister()'s "16/26": "17/26" for k = 1
// while the year is 2026; in a later year the series starts again at "1/YY".
inline QString numberOfferedToday(int k)
{
    const int year = QDate::currentDate().year();
    return year == 2026 ? QStringLiteral("%1/26").arg(16 + k)
                        : QStringLiteral("%1/%2").arg(k).arg(year % 100, 2, 10, QChar(u'0'));
}

// What fillRegister() put into a register.
struct FilledRegister {
    RegisterId objectId = 0; // "Жилой дом № 3", its address and customer those of plainHeader()
    QList<RegisterId> structures; // "Колонна К-3, ось 5/Б" (30 sites), then "Плита П-1" (mixed)
    RegisterId elsewhere = 0; // a structure of another object
    QList<ProtocolStructure> expected; // the two structures as their protocol must show them
};

// Fills the open, empty `reg`: the two structures' measurements downloaded from meter
// "0815" with one more measurement left unassigned and one in another object; the
// laboratory, executor and verification fields of plainHeader() kept, with the number "16/26".
FilledRegister fillRegister(Register &reg);

} // namespace luvir::test
