#pragma once
// Runs the register's changes on a thread of their own, so that a window whose change waits
// for another program holding the register keeps answering meanwhile: it repaints, its
// timers fire, its status line shows the wait. The thread has its own connection to the same
// register (a connection is used only on the thread that made it), opened like the caller's
// (the same location, the password typed for this run, the same wait) and kept for the next
// change.

#include "Register.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

class QEventLoop;

namespace luvir {

class RegisterWriter : public QObject
{
    Q_OBJECT
public:
    // A change, run on the writer's thread with its connection; false when the register
    // refused it (its errorString() says why).
    using Change = std::function<bool(Register &)>;

    explicit RegisterWriter(QObject *parent = nullptr);
    ~RegisterWriter() override;
    RegisterWriter(const RegisterWriter &) = delete;
    RegisterWriter &operator=(const RegisterWriter &) = delete;

    // Starts `change` on the register `like` is open on; finished() follows on this object's
    // thread. False, starting nothing, while the previous change still runs.
    bool start(const Register &like, Change change);
    // Runs `change` as start() does and returns its result once it is done, processing this
    // thread's events meanwhile. Input is not held back: the caller disables its commands.
    bool run(const Register &like, Change change);
    bool isRunning() const { return m_running; }
    // Why the last change failed, in the user's words; empty after success.
    QString errorString() const { return m_error; }

signals:
    void finished(bool ok);

private:
    QThread m_thread;
    QObject *m_worker = nullptr; // lives in m_thread: the changes run in its events
    std::unique_ptr<Register> m_register; // made, used and closed on m_thread only
    QString m_error;
    bool m_running = false;
    QEventLoop *m_waiting = nullptr; // run()'s loop, ended when this object goes first
};

} // namespace luvir
