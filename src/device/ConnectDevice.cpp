#include "ConnectDevice.h"

namespace luvir {

namespace {

// Boxes through the dialogs seam, statuses into the window's status line.
class WindowConnectReporter final : public LinkReporter
{
public:
    WindowConnectReporter(QWidget *parent, StatusLine *status)
        : m_parent(parent)
        , m_status(status)
    {
    }
    void reportFailure(const QString &text) override { tellUser(m_parent, m_status, text); }
    void showMessage(const QString &text) override { dialogs().message(m_parent, text); }
    void showStatus(const QString &text) override
    {
        if (m_status)
            m_status->setStatus(text);
    }

private:
    QWidget *m_parent;
    StatusLine *m_status;
};

} // namespace

bool ConnectDevice(DeviceLink &link, QWidget *parent, StatusLine *status)
{
    WindowConnectReporter reporter(parent, status);
    return ConnectDevice(link, reporter);
}

} // namespace luvir
