#include "AppFonts.h"

#include <QStringList>

namespace luvir {

namespace {

QFont withFamilies(const QStringList &families, int pixelSize)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QFont tahomaFont(int pixelSize)
{
    return withFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")},
                        pixelSize);
}

QFont gridFont()
{
    return withFamilies({QStringLiteral("@Arial Unicode MS"), QStringLiteral("Arial Unicode MS"),
                         QStringLiteral("DejaVu Sans")},
                        11);
}

} // namespace luvir
