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

// Tells, on standard error, each name the opening changed to bring an older register forward.
void tellRenamedOnUpgrade(const Register &reg, CliContext &context);

// The structure called `name`, within the object called `object` when that is not null.
// Null with the reason in `error` when there is not exactly one; `mayCreate` (assign): the
// reason for a structure named without its object says that --object would make it.
std::optional<RegisterStructure> findNamedStructure(
    Register &reg, const QString &name, const QString &object, bool mayCreate, QString &error);

// The names of the objects the structures belong to, each once, quoted and separated by
// commas, in the register's order of objects.
QString objectNames(Register &reg, const QList<RegisterStructure> &structures);

// register properties: a structure's or an object's fields the protocol prints, set from the
// options or, without any, printed as "key: value" lines.
int runRegisterProperties(Register &reg, const Invocation &invocation, CliContext &context);

// register calib export: a calibration set's sites as the file `luvir-cli calib` reads;
// apply: its dependency given to a structure; remove-from: taken off the structure.
int runRegisterCalib(Register &reg, const Invocation &invocation, CliContext &context);

// register stats of one structure given a calibration: one more line of figures, those by
// it ("По градуировке"), then the lines naming it and whether its conditions of use are
// met. Nothing for a structure without one.
void printDependencyStats(Register &reg, const QList<RegisterMeasurement> &measurements, RegisterId structureId,
    CliContext &context);

// register protocol: the protocol of the structures --structure names, written to --out.
int runRegisterProtocol(Register &reg, const Invocation &invocation, CliContext &context);

} // namespace luvir::cli
