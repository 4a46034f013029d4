#pragma once
// "Свойства": an object's or a structure's fields as the test protocol prints them: an
// object's name, address, customer and notes; a structure's name, element kind, design
// class, date of concreting and notes.

#include "RegisterTypes.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;

namespace luvir {

class RegisterNodeDialog : public QDialog
{
    Q_OBJECT
public:
    RegisterNodeDialog(const RegisterObject &object, QWidget *parent = nullptr);
    RegisterNodeDialog(const RegisterStructure &structure, QWidget *parent = nullptr);

    // What was read, with the fields as the dialog now shows them.
    RegisterObject object() const;
    RegisterStructure structure() const;

private:
    void addButtons();

    RegisterObject m_object;
    RegisterStructure m_structure;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_customer = nullptr;
    QComboBox *m_kind = nullptr;
    QLineEdit *m_designClass = nullptr;
    QCheckBox *m_concretedKnown = nullptr;
    QDateEdit *m_concreted = nullptr;
    QPlainTextEdit *m_notes = nullptr;
};

} // namespace luvir
