#pragma once
// Where a window goes when it is centred on an area of the screen.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace luvir {

// Top-left corner of a window of `size` (frame included) centred in `area`: half the
// room left over, in integer division truncating toward zero (a window larger than the
// area overhangs it on both sides).
inline QPoint centredTopLeft(const QRect &area, const QSize &size)
{
    return {area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2};
}

} // namespace luvir
