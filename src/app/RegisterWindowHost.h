#pragma once
// The register window beside the main window: opened from Журнал > Журнал испытаний on the
// register in use, opened again when another register is chosen, and its "Открыть в
// таблице" handed to the main window, its "Протокол испытаний…" to the protocol dialog.

#include "Register.h"

#include <QObject>

class TForm1;

namespace luvir {

class RegisterWindow;

class RegisterWindowHost : public QObject
{
    Q_OBJECT
public:
    // Lives as long as `mainWindow`, whose child it is.
    explicit RegisterWindowHost(TForm1 &mainWindow);

    RegisterWindow &window() { return *m_window; }
    // Opens the register in use (again) and shows the window.
    void show();
    // The protocol dialog on the structures, over the register window.
    void makeProtocol(const QList<luvir::RegisterId> &structureIds);

private:
    // Opens the register in use when another one was chosen; tells the user when it cannot.
    void openRegisterInUse();
    // A register on a server that did not open: the connect dialog (which asks for a password
    // the server wants); cancelled, the offer of the register on this computer.
    void connectToServer(const QString &location, Register::OpenStatus status);

    TForm1 &m_mainWindow;
    Register m_register;
    QString m_location; // the one m_register is open on
    RegisterWindow *m_window = nullptr;
};

} // namespace luvir
