#pragma once
// What the device tests share: the simulated meter reset for every test, scripted
// dialogs, a status line that remembers, and one log of boxes and statuses in order.

#include "CommandReporter.h"
#include "MeterSim.h"
#include "ScriptedDialogs.h"
#include "UserDialogs.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace luvir::test {

// Boxes ("box:text"), statuses ("status:text") and other events, in the order they happened.
struct EventLog {
    QStringList events;
    QStringList starting(const QString &prefix) const
    {
        QStringList out;
        for (const QString &e : events)
            if (e.startsWith(prefix))
                out << e.mid(prefix.size());
        return out;
    }
};

class LoggedStatus : public StatusLine
{
public:
    explicit LoggedStatus(EventLog &log)
        : m_log(log)
    {
    }
    void setStatus(const QString &text) override
    {
        current = text;
        m_log.events << QStringLiteral("status:") + text;
    }
    QString current;

private:
    EventLog &m_log;
};

// Reports the way the download dialog does, keeping the label texts.
class RecordingReporter : public CommandReporter
{
public:
    explicit RecordingReporter(StatusLine &status)
        : m_status(status)
    {
    }
    void reportFailure(const QString &text) override { tellUser(nullptr, &m_status, text); }
    void showMessage(const QString &text) override { dialogs().message(nullptr, text); }
    void showStatus(const QString &text) override { m_status.setStatus(text); }
    void showProtocolVersion(const QString &text) override { versionLabel = text; }
    void showArchiveSize(const QString &text) override { sizeLabel = text; }
    QString versionLabel;
    QString sizeLabel;

private:
    StatusLine &m_status;
};

class SimTest : public ::testing::Test
{
protected:
    SimTest()
    {
        meter.reset();
        dialogs.whileShown = [this](const ShownDialog &d) { log.events << QStringLiteral("box:") + d.text; };
    }

    std::vector<sim::Frame> requestsFor(std::uint8_t command) const
    {
        std::vector<sim::Frame> out;
        for (const sim::Frame &f : meter.received())
            if (f[2] == command)
                out.push_back(f);
        return out;
    }

    sim::Meter &meter = sim::meter();
    ScriptedDialogs dialogs;
    EventLog log;
    LoggedStatus status {log};
};

// The 64 bytes of a frame that starts with `head` and is zero after it.
inline sim::Frame frameOf(std::initializer_list<int> head)
{
    sim::Frame f {};
    std::size_t i = 0;
    for (int b : head)
        f[i++] = static_cast<std::uint8_t>(b);
    return f;
}

} // namespace luvir::test
