#pragma once
// Protocols for the tests and the benchmark: header fields, and structures of generated or
// hand-made measurements.

#include "ProtocolContent.h"

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

} // namespace luvir::test
