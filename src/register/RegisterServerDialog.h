#pragma once
// "Подключиться к серверу…": the register on a PostgreSQL server. Host, port, database,
// user and SSL mode make the location (a libpq URI); the password is asked only when the
// server wants one libpq did not find, and is kept in memory for this run of the program
// only (sessionPassword()), never written.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace luvir {

class Register;

class RegisterServerDialog : public QDialog
{
    Q_OBJECT

public:
    // Opens `target` on the server when the user confirms; the dialog closes only once it is open.
    explicit RegisterServerDialog(Register &target, QWidget *parent = nullptr);

    // Fills the fields from a location ("postgresql://…"), e.g. the one remembered.
    void setLocation(const QString &location);
    // The location the fields make, without a password.
    QString location() const;

    void accept() override;

private:
    void showPassword(const QString &why);

    Register &m_target;
    QLineEdit *m_host;
    QSpinBox *m_port;
    QLineEdit *m_database;
    QLineEdit *m_user;
    QComboBox *m_sslMode;
    QLabel *m_passwordWhy;
    QLabel *m_passwordLabel;
    QLineEdit *m_password;
};

} // namespace luvir
