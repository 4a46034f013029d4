#include "DownloadProgress.h"

namespace luvir::cli {

namespace {

constexpr int kBarWidth = 30;

} // namespace

void DownloadProgress::start(const QString &label, int total)
{
    m_label = label;
    m_total = total;
    m_lastPercent = -1;
    m_lastDone = -1;
    if (total > 0)
        draw(0);
}

void DownloadProgress::update(int done)
{
    if (m_total > 0)
        draw(done);
}

void DownloadProgress::finish()
{
    if (m_total > 0)
        draw(m_total);
    interrupt();
}

void DownloadProgress::interrupt()
{
    if (m_lineOpen)
        m_console.err(QStringLiteral("\n"));
    m_lineOpen = false;
}

void DownloadProgress::draw(int done)
{
    const int percent = static_cast<int>(100LL * done / m_total);
    if (!m_console.errIsTerminal()) {
        if (percent != m_lastPercent)
            m_console.err(QStringLiteral("%1 %2%\n").arg(m_label).arg(percent));
        m_lastPercent = percent;
        return;
    }
    if (done == m_lastDone)
        return;
    m_lastDone = done;
    const int filled = static_cast<int>(static_cast<long long>(kBarWidth) * done / m_total);
    m_console.err(QStringLiteral("\r%1 [%2%3] %4/%5 %6%")
                      .arg(m_label, QString(filled, u'#'), QString(kBarWidth - filled, u' '))
                      .arg(done)
                      .arg(m_total)
                      .arg(percent, 3));
    m_lineOpen = true;
}

} // namespace luvir::cli
