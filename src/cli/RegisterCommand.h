#pragma once
// What the register command's subcommands share: finding a structure by the names given,
// and the register's failure as a line.

#include "CliContext.h"
#include "CommandLine.h"

#include "Register.h"

#include <optional>

namespace luvir::cli {

// The register's last failure as the command tells it: "Журнал: REASON.".
QString registerFailure(const Register &reg);

// The structure called `name`, within the object called `object` when that is not null.
// Null with the reason in `error` when there is not exactly one; with `mayCreate`, none
// within a named object is no error (null, `error` empty: the caller makes it).
std::optional<RegisterStructure> findNamedStructure(
    Register &reg, const QString &name, const QString &object, bool mayCreate, QString &error);

// The names of the objects the structures belong to, each once, quoted and separated by
// commas, in the register's order of objects.
QString objectNames(Register &reg, const QList<RegisterStructure> &structures);

// register calib export: a calibration set's sites as the file `luvir-cli calib` reads.
int runRegisterCalib(Register &reg, const Invocation &invocation, CliContext &context);

// register protocol: the protocol of the structures --structure names, written to --out.
int runRegisterProtocol(Register &reg, const Invocation &invocation, CliContext &context);

} // namespace luvir::cli
