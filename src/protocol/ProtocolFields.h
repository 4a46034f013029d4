#pragma once
// The header fields of a protocol by name, as `luvir-cli register protocol --fields FILE`
// reads them ("key=value" lines) and as the register keeps them for next time.

#include "ProtocolContent.h"

#include <QString>
#include <QStringList>

namespace luvir {

// Every key, in the order of the protocol's header: "number", "date", "laboratory",
// "laboratory_address", "accreditation", "customer", "object", "object_address",
// "conditions", "standards", "instrument", "serial_number", "verification_number",
// "verification_date", "conclusion", "executor", "executor_position".
const QStringList &protocolFieldKeys();

// The field's text: dates as "ДД.ММ.ГГГГ", the standards one per line. Empty for an
// unknown key.
QString protocolField(const ProtocolHeader &header, const QString &key);

// Sets the field from its text: a date as "ДД.ММ.ГГГГ" or "ГГГГ-ММ-ДД" (empty: no date),
// the standards separated by ";" or line breaks. False, with the reason in `error`, for an
// unknown key or a date that is none.
bool setProtocolField(ProtocolHeader &header, const QString &key, const QString &text, QString &error);

// Reads "key=value" lines into `header`, spaces around the key and the value dropped: "\n"
// in a value is a line break, "\\" a backslash; empty lines and lines starting with "#"
// are skipped. False, with "строка N: …" in
// `error`, at the first line that is not a known field.
bool readProtocolFields(ProtocolHeader &header, const QString &text, QString &error);

// The number offered after `last` for a protocol dated `date`: its first run of digits
// counted up, keeping its width ("12" -> "13", "12/2026" -> "13/2026", "П-007" -> "П-008");
// a number without digits is offered as it was. A number of the form N/YY (or N/YYYY) whose
// year is before `date`'s starts again at 1 with the new year's digits ("57/26" -> "1/27");
// with no number yet, "1/YY" of `date` (nothing without a date).
QString nextProtocolNumber(const QString &last, const QDate &date = {});

// Whether `number` goes on with the series whose last number is `series`: the same form,
// the runs of digits aside ("5/26" after "4/26", "1/27" after "57/26"), or no series yet. A
// number of another form ("1/26-К") is that protocol's alone: the series keeps its last.
bool continuesSeries(const QString &series, const QString &number);

} // namespace luvir
