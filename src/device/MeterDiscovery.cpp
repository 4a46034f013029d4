#include "MeterDiscovery.h"

namespace luvir {

bool ConnectDevice(DeviceLink &link, LinkReporter &reporter)
{
    if (!link.isOpen()) {
        const int listed = link.discover(kMaxListedMeters + 1);
        if (listed > kMaxListedMeters) {
            reporter.reportFailure(QStringLiteral("Подключено слишком много устройств(>16)"));
            return false;
        }
        if (listed == 0) {
            reporter.reportFailure(QStringLiteral("Устройство не обнаружено"));
            return false;
        }
        if (listed > 1) {
            QString text
                = QStringLiteral("Подключенно несколько устройств, данные будут приняты с устройства");
            if (const wchar_t *serial = link.firstListedSerial())
                text += QString::fromWCharArray(serial);
            reporter.showMessage(text);
        }
        if (!link.openFirstListed()) {
            reporter.reportFailure(QStringLiteral("Ошибка подключения"));
            return false;
        }
    }
    link.setNonblocking();
    reporter.showStatus(QStringLiteral("Устройство ЛЮВИР-2.07 успешно подключено"));
    return true;
}

} // namespace luvir
