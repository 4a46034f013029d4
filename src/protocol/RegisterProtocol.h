#pragma once
// The test protocol made from the register: the chosen structures with their measurements,
// and the header fields typed once and kept in the register for the next protocol. The
// protocol dialog and `luvir-cli register protocol` both make it here.

#include "ProtocolContent.h"

#include "Register.h"

#include <optional>

namespace luvir {

// The protocol of the structures `structureIds`, in the order given, all of one object:
// each structure's measurements in time order with their sites. The header: the number
// after the last one kept and `today`; the laboratory, the executor and the normative
// documents kept for every protocol; the object's name, address and customer; the meter's
// serial number from where the measurements came from (else the last one typed) and its
// verification kept under that number; "с единичными значениями" as the last protocol kept
// it. The number is the series' next on `today` (see
// nextProtocolNumber). Nothing when no structure is given, one is not in
// the register, they belong to different objects or the register fails: `error` says which.
std::optional<ProtocolContent> protocolFromRegister(
    Register &reg, const QList<RegisterId> &structureIds, const QDate &today, QString &error);

// The object the structures belong to; 0 when they are none or of several.
RegisterId objectOfStructures(Register &reg, const QList<RegisterId> &structureIds);

// Keeps the header as typed for the next protocol: the number (when it goes on with the
// series, see continuesSeries), the laboratory, the executor,
// the normative documents and the serial number for every protocol; the customer and the
// address in the object `objectId` (0: none); the verification under the serial number.
// All is kept as one change, or nothing; false, with the register's reason in `error`.
bool keepProtocolFields(Register &reg, RegisterId objectId, const ProtocolHeader &header, QString &error);
// The same, with "с единичными значениями" kept for the next protocol too, which
// protocolFromRegister then offers (the window's choice; the command line asks with --values).
bool keepProtocolFields(Register &reg, RegisterId objectId, const ProtocolContent &content, QString &error);

} // namespace luvir
