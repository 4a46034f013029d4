#include "RegisterWindowHost.h"

#include "RegisterLocation.h"
#include "RegisterWindow.h"
#include "Unit1.h"
#include "UserDialogs.h"

namespace luvir {

RegisterWindowHost::RegisterWindowHost(TForm1 &mainWindow)
    : QObject(&mainWindow)
    , m_mainWindow(mainWindow)
    , m_window(new RegisterWindow(&mainWindow))
{
    m_window->setWindowFlag(Qt::Window);
    mainWindow.setRegisterWindowOpener([this] { show(); });
    connect(&mainWindow, &TForm1::registerChanged, this, [this] {
        if (m_window->isVisible())
            openRegisterInUse();
    });
    connect(m_window, &RegisterWindow::openInTable, &mainWindow, &TForm1::openMeasurements);
}

void RegisterWindowHost::show()
{
    openRegisterInUse();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void RegisterWindowHost::openRegisterInUse()
{
    const QString location = rememberedRegisterPath();
    if (m_register.isOpen() && location == m_location) {
        m_window->refresh(); // a download may have added to it meanwhile
        return;
    }
    m_window->setRegister(nullptr);
    m_register.close();
    m_location.clear();
    if (m_register.open(location, Register::Check::Quick) != Register::OpenStatus::Ok) {
        tellUser(&m_mainWindow, &m_mainWindow, m_register.errorString());
        return;
    }
    m_location = location;
    m_window->setRegister(&m_register);
}

} // namespace luvir
