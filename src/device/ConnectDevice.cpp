#include "ConnectDevice.h"

namespace luvir {

bool ConnectDevice(DeviceLink &link, QWidget *parent, StatusLine *status)
{
    if (!link.isOpen()) {
        const int listed = link.discover(kMaxListedMeters + 1);
        if (listed > kMaxListedMeters) {
            tellUser(parent, status, QStringLiteral("Подключено слишком много устройств(>16)"));
            return false;
        }
        if (listed == 0) {
            tellUser(parent, status, QStringLiteral("Устройство не обнаружено"));
            return false;
        }
        if (listed > 1) {
            QString text
                = QStringLiteral("Подключенно несколько устройств, данные будут приняты с устройства");
            if (const wchar_t *serial = link.firstListedSerial())
                text += QString::fromWCharArray(serial);
            dialogs().message(parent, text);
        }
        if (!link.openFirstListed()) {
            tellUser(parent, status, QStringLiteral("Ошибка подключения"));
            return false;
        }
    }
    link.setNonblocking();
    if (status)
        status->setStatus(QStringLiteral("Устройство ЛЮВИР-2.07 успешно подключено"));
    return true;
}

} // namespace luvir
