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

// The number offered after `last`: its first run of digits counted up, keeping its width
// ("12" -> "13", "12/2026" -> "13/2026", "П-007" -> "П-008"); a number without digits, or
// none, is offered as it was.
QString nextProtocolNumber(const QString &last);

} // namespace luvir
