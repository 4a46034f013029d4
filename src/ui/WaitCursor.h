#pragma once
// Shows the wait cursor over the whole application while it lives: through a long command
// and back again however the command ends, a thrown error included.

#include <QCursor>
#include <QGuiApplication>

namespace luvir {

class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace luvir
