#include "RegisterWriter.h"

#include <QEventLoop>
#include <QPointer>

namespace luvir {

RegisterWriter::RegisterWriter(QObject *parent)
    : QObject(parent)
    , m_worker(new QObject)
{
    m_thread.setObjectName(QStringLiteral("register writer"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

RegisterWriter::~RegisterWriter()
{
    if (m_waiting)
        m_waiting->quit();
    // After the change that runs, if any: the connection is closed on the thread that made it.
    QMetaObject::invokeMethod(
        m_worker, [this] { m_register.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

bool RegisterWriter::start(const Register &like, Change change)
{
    if (m_running)
        return false;
    m_running = true;
    m_error.clear();
    const Register::Address address = like.address();
    QMetaObject::invokeMethod(
        m_worker,
        [this, address, change = std::move(change)] {
            if (!m_register)
                m_register = std::make_unique<Register>();
            bool ok = false;
            QString error;
            if (m_register->openLike(address) != Register::OpenStatus::Ok) {
                error = m_register->errorString();
                if (error.endsWith(u'.')) // a sentence of its own, quoted in the caller's
                    error.chop(1);
            } else {
                ok = change(*m_register);
                if (!ok)
                    error = m_register->errorString();
            }
            QMetaObject::invokeMethod(
                this,
                [this, ok, error] {
                    m_error = error;
                    m_running = false;
                    emit finished(ok);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return true;
}

bool RegisterWriter::run(const Register &like, Change change)
{
    QEventLoop loop;
    bool ok = false;
    bool over = false;
    connect(this, &RegisterWriter::finished, &loop, [&](bool result) {
        ok = result;
        over = true;
        loop.quit();
    });
    if (!start(like, std::move(change)))
        return false;
    const QPointer<RegisterWriter> self(this);
    m_waiting = &loop;
    if (!over)
        loop.exec();
    if (!self)
        return false;
    m_waiting = nullptr;
    return ok;
}

} // namespace luvir
