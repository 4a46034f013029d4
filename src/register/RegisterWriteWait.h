#pragma once
// A window's change to the register, written on the writer's thread while the window shows
// the wait: the wait cursor and "Запись в журнал…" in its status line, its commands
// disabled (by `writing`, told true before and false after). The window answers meanwhile;
// it may be closed or deleted by then, which the caller learns from the result.

#include "RegisterWriter.h"

#include <functional>

class QMainWindow;

namespace luvir {

enum class WaitedWrite {
    Written, // the register took the change
    Refused, // the register refused it: `error` says why
    WindowGone, // the window was deleted while the change was written
};

WaitedWrite writeWhileWaiting(QMainWindow &window, RegisterWriter &writer, const Register &like,
    const RegisterWriter::Change &change, const std::function<void(bool writing)> &writing, QString &error);

} // namespace luvir
