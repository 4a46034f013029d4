#pragma once
// The register window beside the main window: opened from Журнал > Журнал испытаний on the
// register in use, opened again when another register is chosen, and its "Открыть в
// таблице" handed to the main window, its "Протокол испытаний…" to the protocol dialog.

#include "Register.h"

#include <QObject>

#include <functional>
#include <memory>

class QThread;

class TForm1;

namespace luvir {

class CalibrationWindow;
class RegisterWindow;

class RegisterWindowHost : public QObject
{
    Q_OBJECT
public:
    // Lives as long as `mainWindow`, whose child it is.
    explicit RegisterWindowHost(TForm1 &mainWindow);
    // Waits for the check at start to end (at most libpq's connect timeout).
    ~RegisterWindowHost() override;
    // At start, when the register in use is on a server: tries it on a thread of its own, so
    // the main window is neither delayed nor held; one that cannot be used (no answer,
    // refused, too old; not one that only wants a password, asked at its first use) is told,
    // and the register on this computer offered. `checked` (for tests) runs once it is over.
    void checkServerAtStart(std::function<void()> checked = {});

    RegisterWindow &window() { return *m_window; }
    // Opens the register in use (again) and shows the window.
    void show();
    // The protocol dialog on the structures, over the register window.
    void makeProtocol(const QList<luvir::RegisterId> &structureIds);
    // «Градуировка» over the register window, on the register it shows.
    void showCalibration();

private:
    // Opens the register in use when another one was chosen; tells the user when it cannot.
    void openRegisterInUse();
    // A register on a server that did not open: the connect dialog (which asks for a password
    // the server wants); cancelled, the offer of the register on this computer.
    void connectToServer(const QString &location, Register::OpenStatus status);
    // Offers the register on this computer instead of the server's; taken (true), it is the
    // one in use from now on.
    bool offerLocalRegister();
    // The user's last addition in this run, when it went to the register the window shows.
    void showLastAddition();

    TForm1 &m_mainWindow;
    Register m_register;
    QString m_location; // the one m_register is open on
    // The user's last addition in this run and the register it went to, shown by the window
    // whenever it shows that register.
    QString m_lastAddition;
    QString m_lastAdditionLocation;
    RegisterWindow *m_window = nullptr;
    CalibrationWindow *m_calibration = nullptr; // made when first asked for
    std::unique_ptr<QThread> m_startCheck;
};

} // namespace luvir
