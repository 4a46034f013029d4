#pragma once
// Why a set of sites cannot be computed: the checks both computations share.

#include "CalibSite.h"

namespace luvir {

// The first site whose indirect value or direct strength is 0 or less, named.
CalibRefusal refuseNonPositive(const CalibSites &sites);

} // namespace luvir
