#pragma once
// "Свойства": an object's or a structure's fields as the test protocol prints them: an
// object's name, address, customer and notes; a structure's name, element kind, design
// class, date of concreting and notes. The date of concreting starts empty when not known,
// and one after the structure's first test is refused before the dialog closes.

#include "RegisterTypes.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace luvir {

class Register;

class RegisterNodeDialog : public QDialog
{
    Q_OBJECT
public:
    RegisterNodeDialog(const RegisterObject &object, QWidget *parent = nullptr);
    RegisterNodeDialog(const RegisterStructure &structure, QWidget *parent = nullptr);
    // The same, checking the date of concreting against the structure's tests in `reg`.
    RegisterNodeDialog(Register &reg, const RegisterStructure &structure, QWidget *parent = nullptr);

    // What was read, with the fields as the dialog now shows them.
    RegisterObject object() const;
    RegisterStructure structure() const;

    // Closes the dialog with the fields as shown, unless the date of concreting is not a
    // date or lies after the structure's first test: then the user is told why.
    void accept() override;

private:
    void addButtons();

    RegisterObject m_object;
    RegisterStructure m_structure;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_customer = nullptr;
    QComboBox *m_kind = nullptr;
    QLineEdit *m_designClass = nullptr;
    QLineEdit *m_concreted = nullptr; // "ДД.ММ.ГГГГ"; empty: not known
    Register *m_register = nullptr; // where the structure's tests are, when given
    QPlainTextEdit *m_notes = nullptr;
};

} // namespace luvir
