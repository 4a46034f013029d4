#include "RegisterServerDialog.h"

#include "Register.h"
#include "RegisterLocation.h"
#include "RegisterServer.h"
#include "UserDialogs.h"
#include "WaitCursor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace luvir {

namespace {

// libpq's SSL modes the dialog offers, with how they read.
struct SslChoice {
    const char *mode;
    const char *text;
};
const SslChoice kSslChoices[] = {
    {"prefer", "по возможности"},
    {"disable", "без шифрования"},
    {"require", "обязательно"},
    {"verify-full", "обязательно, с проверкой сертификата сервера"},
};

} // namespace

RegisterServerDialog::RegisterServerDialog(Register &target, QWidget *parent)
    : QDialog(parent)
    , m_target(target)
    , m_host(new QLineEdit(this))
    , m_port(new QSpinBox(this))
    , m_database(new QLineEdit(this))
    , m_user(new QLineEdit(this))
    , m_sslMode(new QComboBox(this))
    , m_passwordWhy(new QLabel(this))
    , m_passwordLabel(new QLabel(QStringLiteral("&Пароль:"), this))
    , m_password(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Журнал на сервере"));
    m_port->setRange(1, 65535);
    m_port->setValue(5432);
    m_database->setText(QStringLiteral("luvir"));
    for (const SslChoice &choice : kSslChoices)
        m_sslMode->addItem(QString::fromUtf8(choice.text), QString::fromLatin1(choice.mode));
    m_password->setEchoMode(QLineEdit::Password);
    m_passwordLabel->setBuddy(m_password);
    m_passwordWhy->setWordWrap(true);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Сервер:"), m_host);
    form->addRow(QStringLiteral("П&орт:"), m_port);
    form->addRow(QStringLiteral("&База данных:"), m_database);
    form->addRow(QStringLiteral("По&льзователь:"), m_user);
    form->addRow(QStringLiteral("&Шифрование (SSL):"), m_sslMode);
    form->addRow(m_passwordWhy);
    form->addRow(m_passwordLabel, m_password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Подключиться"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &RegisterServerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RegisterServerDialog::reject);
    form->addRow(buttons);

    // The password only when the server wants one libpq did not find.
    m_passwordWhy->hide();
    m_passwordLabel->hide();
    m_password->hide();
}

void RegisterServerDialog::setLocation(const QString &location)
{
    QString error;
    const auto server = ServerLocation::parse(location, error);
    if (!server)
        return;
    m_host->setText(server->host);
    m_port->setValue(server->port);
    m_database->setText(server->database);
    m_user->setText(server->user);
    const int ssl = m_sslMode->findData(server->sslMode);
    m_sslMode->setCurrentIndex(ssl >= 0 ? ssl : 0);
}

QString RegisterServerDialog::location() const
{
    ServerLocation server;
    server.host = m_host->text().trimmed();
    server.port = m_port->value();
    server.database = m_database->text().trimmed();
    server.user = m_user->text().trimmed();
    server.sslMode = m_sslMode->currentData().toString();
    return server.uri();
}

void RegisterServerDialog::accept()
{
    if (m_host->text().trimmed().isEmpty() || m_database->text().trimmed().isEmpty()) {
        dialogs().error(this, QStringLiteral("Укажите сервер и базу данных."));
        return;
    }
    Register::OpenStatus status;
    {
        WaitCursor wait;
        status = m_target.open(location(), Register::Opening::CreateIfMissing, m_password->text());
    }
    if (status == Register::OpenStatus::Ok) {
        if (!m_password->text().isEmpty())
            keepSessionPassword(location(), m_password->text()); // in memory, for this run only
        m_password->clear();
        QDialog::accept();
    } else if (status == Register::OpenStatus::PasswordNeeded && m_password->isHidden()) {
        showPassword(QStringLiteral("Сервер требует пароль пользователя \"%1\".").arg(m_user->text().trimmed()));
    } else {
        dialogs().error(this, m_target.errorString());
        // The password typed earlier in this run was used: it may have changed meanwhile.
        if (m_password->isHidden() && !sessionPassword(location()).isEmpty())
            showPassword(QStringLiteral("Если пароль пользователя \"%1\" изменился, введите новый.")
                    .arg(m_user->text().trimmed()));
    }
}

void RegisterServerDialog::showPassword(const QString &why)
{
    m_passwordWhy->setText(why);
    m_passwordWhy->show();
    m_passwordLabel->show();
    m_password->show();
    m_password->setFocus();
}

} // namespace luvir
