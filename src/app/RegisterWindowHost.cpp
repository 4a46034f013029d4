#include "RegisterWindowHost.h"

#include "CalibrationWindow.h"
#include "ProtocolDialog.h"
#include "RegisterLocation.h"
#include "RegisterServer.h"
#include "RegisterServerDialog.h"
#include "RegisterWindow.h"
#include "Unit1.h"
#include "UserDialogs.h"

#include <QFileInfo>
#include <QThread>

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
    connect(&mainWindow, &TForm1::registerAdded, this, [this](const QString &summary) {
        m_lastAddition = summary;
        m_lastAdditionLocation = rememberedRegisterPath();
        showLastAddition();
    });
    connect(m_window, &RegisterWindow::openInTable, &mainWindow, &TForm1::openMeasurements);
    connect(m_window, &RegisterWindow::protocolRequested, this, &RegisterWindowHost::makeProtocol);
    connect(m_window, &RegisterWindow::calibrationRequested, this, &RegisterWindowHost::showCalibration);
    // After the register window's own reopening above: the calibration follows the register.
    connect(&mainWindow, &TForm1::registerChanged, this, [this] {
        if (m_calibration && m_calibration->isVisible())
            m_calibration->setRegister(m_register.isOpen() ? &m_register : nullptr);
    });
}

void RegisterWindowHost::showCalibration()
{
    if (!m_calibration) {
        m_calibration = new CalibrationWindow(m_window);
        m_calibration->attach(*m_window);
    }
    m_calibration->setRegister(m_register.isOpen() ? &m_register : nullptr);
    m_calibration->show();
    m_calibration->raise();
    m_calibration->activateWindow();
}

void RegisterWindowHost::makeProtocol(const QList<RegisterId> &structureIds)
{
    ProtocolDialog dialog(m_register, structureIds, m_window);
    if (!dialog.errorString().isEmpty()) {
        tellUser(m_window, nullptr, QStringLiteral("Протокол испытаний: %1.").arg(dialog.errorString()));
        return;
    }
    dialog.exec();
}

RegisterWindowHost::~RegisterWindowHost()
{
    if (m_startCheck)
        m_startCheck->wait();
}

void RegisterWindowHost::checkServerAtStart(std::function<void()> checked)
{
    const QString location = rememberedRegisterPath();
    if (!isServerLocation(location) || m_startCheck) {
        if (checked)
            checked();
        return;
    }
    struct Outcome {
        Register::OpenStatus status = Register::OpenStatus::Ok;
        QString reason;
        QString upgraded; // what bringing it forward changed
    };
    auto outcome = std::make_shared<Outcome>();
    m_startCheck.reset(QThread::create([location, outcome] {
        Register reg; // its connection lives and ends on this thread
        outcome->status = reg.open(location);
        outcome->reason = reg.errorString();
        outcome->upgraded = upgradeNotice(reg);
    }));
    connect(m_startCheck.get(), &QThread::finished, this, [this, location, outcome, checked] {
        const bool unusable = outcome->status != Register::OpenStatus::Ok
            && outcome->status != Register::OpenStatus::PasswordNeeded;
        // Another register may have been chosen meanwhile; then this one no longer matters.
        if (!outcome->upgraded.isEmpty())
            tellUser(&m_mainWindow, &m_mainWindow, outcome->upgraded);
        if (unusable && rememberedRegisterPath() == location) {
            tellUser(&m_mainWindow, &m_mainWindow, outcome->reason);
            if (offerLocalRegister() && m_window->isVisible())
                openRegisterInUse();
        }
        if (checked)
            checked();
    });
    m_startCheck->start();
}

void RegisterWindowHost::showLastAddition()
{
    if (!m_lastAddition.isEmpty() && m_register.isOpen() && m_location == m_lastAdditionLocation)
        m_window->showAddition(m_lastAddition);
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
    // The program's own register is made when first used; another one the user chose must be there.
    const Register::OpenStatus status = m_register.open(location,
        location == defaultRegisterPath() ? Register::Opening::CreateIfMissing : Register::Opening::ExistingOnly);
    if (status == Register::OpenStatus::Ok) {
        m_location = location;
        m_window->setRegister(&m_register);
        showLastAddition();
        if (const QString upgraded = upgradeNotice(m_register); !upgraded.isEmpty())
            tellUser(m_window, &m_mainWindow, upgraded);
        return;
    }
    if (!isServerLocation(location)) {
        tellUser(&m_mainWindow, &m_mainWindow, m_register.errorString());
        return;
    }
    connectToServer(location, status);
}

void RegisterWindowHost::connectToServer(const QString &location, Register::OpenStatus status)
{
    // The server's own reason first, unless it only wants the password the dialog asks for.
    if (status != Register::OpenStatus::PasswordNeeded)
        tellUser(&m_mainWindow, &m_mainWindow, m_register.errorString());
    RegisterServerDialog dialog(m_register, &m_mainWindow);
    dialog.setLocation(location);
    if (dialog.exec() == QDialog::Accepted) {
        m_location = dialog.location();
        rememberRegisterPath(m_location);
        m_window->setRegister(&m_register);
        showLastAddition();
        return;
    }
    if (offerLocalRegister())
        openRegisterInUse();
}

bool RegisterWindowHost::offerLocalRegister()
{
    // The register on this computer stays one answer away.
    const QString local = defaultRegisterPath();
    if (!dialogs().question(&m_mainWindow,
            QStringLiteral("Журнал на сервере недоступен. Открыть журнал на этом компьютере (%1)?").arg(local),
            QStringLiteral("Журнал испытаний")))
        return false;
    rememberRegisterPath(local);
    m_mainWindow.setStatus(QStringLiteral("Журнал: %1").arg(QFileInfo(local).fileName()));
    return true;
}

} // namespace luvir
