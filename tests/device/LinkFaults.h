#pragma once
// Every fault the simulated meter can put on the line and what the user is told of it: the
// one table the command tests, the download dialog's tests and the command-line tool's
// tests all check against. The texts are the meter link's own, written out here by hand.

#include "MeterSim.h"

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace luvir::test {

struct LinkFault {
    sim::Fault fault;
    // The failed command's own message; empty when the answer is refused without a word.
    QString message;
    // The message goes to the status line too (a box alone otherwise).
    bool toStatus;
    // The link still holds the meter afterwards; false when it has let it go.
    bool linkStaysOpen;

    // The command's own message when the fault strikes the read of cell `index`.
    QStringList commandMessagesAtCell(int index) const
    {
        if (fault == sim::Fault::DamagedCell)
            return {QStringLiteral("Ошибка целостности ячейки %1").arg(index + 1)};
        return message.isEmpty() ? QStringList {} : QStringList {message};
    }
    // Everything a download tells the user, in order, when the fault strikes cell `index`.
    QStringList downloadMessagesAtCell(int index) const
    {
        return commandMessagesAtCell(index) << QStringLiteral("Ошибка чтения ячейки%1").arg(index + 1);
    }
};

inline const std::vector<LinkFault> &linkFaults()
{
    using sim::Fault;
    const QString count = QStringLiteral("Не соответствует число байт");
    const QString crc = QStringLiteral("Ошибка CRC");
    const QString send = QStringLiteral("Ошибка отправки");
    static const std::vector<LinkFault> faults = {
        {Fault::NoAnswer, count, true, true},
        {Fault::LateAnswer, count, true, true},
        {Fault::ShortRead, count, true, true},
        {Fault::ReadError, QStringLiteral("Ошибка приема"), true, false},
        {Fault::WriteError, send, true, false},
        {Fault::Unplug, send, true, false},
        {Fault::WrongReportId, {}, false, true},
        {Fault::WrongLength, {}, false, true},
        {Fault::WrongCommand, {}, false, true},
        {Fault::BadCrc, crc, true, true},
        {Fault::CrcLowByteFirst, crc, true, true},
        {Fault::DamagedCell, QStringLiteral("Ошибка целостности ячейки"), false, true},
    };
    return faults;
}

// The fault's own entry in the table.
inline const LinkFault &linkFault(sim::Fault fault)
{
    for (const LinkFault &f : linkFaults())
        if (f.fault == fault)
            return f;
    throw std::logic_error("fault missing from the table");
}

} // namespace luvir::test
