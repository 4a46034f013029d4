#include "CliContext.h"

#include "CellText.h"

namespace luvir::cli {

CliContext CliContext::fromSystem(Console &console)
{
    return {
        console, systemDecimalSeparator(), QLocale::system(), [] { return QDateTime::currentDateTime(); }};
}

} // namespace luvir::cli
