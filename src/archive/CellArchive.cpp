#include "CellArchive.h"

#include <algorithm>

namespace luvir {

bool CellArchive::sameContents(const CellArchive &other) const
{
    return Count == other.Count
        && std::equal(Cells.begin(), Cells.begin() + Count, other.Cells.begin());
}

} // namespace luvir
