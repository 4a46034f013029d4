#include "RegisterWriteWait.h"

#include "WaitCursor.h"

#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>

namespace luvir {

WaitedWrite writeWhileWaiting(QMainWindow &window, RegisterWriter &writer, const Register &like,
    const RegisterWriter::Change &change, const std::function<void(bool writing)> &writing, QString &error)
{
    // A register another program holds keeps the change waiting up to its busy wait; the
    // window answers meanwhile, its commands disabled until the change is done.
    const QPointer<QMainWindow> self(&window);
    writing(true);
    window.statusBar()->showMessage(QStringLiteral("Запись в журнал…"));
    bool ok = false;
    {
        const WaitCursor wait;
        ok = writer.run(like, change);
    }
    if (!self)
        return WaitedWrite::WindowGone;
    error = writer.errorString();
    window.statusBar()->clearMessage();
    writing(false);
    return ok ? WaitedWrite::Written : WaitedWrite::Refused;
}

} // namespace luvir
