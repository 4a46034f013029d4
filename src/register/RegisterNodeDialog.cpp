#include "RegisterNodeDialog.h"

#include "CellText.h"
#include "RegisterStructureDates.h"
#include "UserDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace luvir {

namespace {

QPlainTextEdit *notesEdit(const QString &text, QWidget *parent)
{
    auto *edit = new QPlainTextEdit(text, parent);
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 3 + 12);
    edit->setObjectName(QStringLiteral("notes"));
    return edit;
}

QLineEdit *lineEdit(const QString &text, const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 45);
    return edit;
}

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

// The date typed, "ДД.ММ.ГГГГ" (or "ГГГГ-ММ-ДД"); null when it is none.
QDate typedDate(const QString &text)
{
    const QDate date = QDate::fromString(text.trimmed(), kDateFormat);
    return date.isValid() ? date : QDate::fromString(text.trimmed(), Qt::ISODate);
}

} // namespace

RegisterNodeDialog::RegisterNodeDialog(const RegisterObject &object, QWidget *parent)
    : QDialog(parent)
    , m_object(object)
{
    setWindowTitle(QStringLiteral("Свойства объекта"));
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Название:"), m_name = lineEdit(object.name, "name", this));
    form->addRow(QStringLiteral("&Адрес:"), m_address = lineEdit(object.address, "address", this));
    form->addRow(QStringLiteral("&Заказчик:"), m_customer = lineEdit(object.customer, "customer", this));
    form->addRow(QStringLiteral("&Примечания:"), m_notes = notesEdit(object.notes, this));
    addButtons();
}

RegisterNodeDialog::RegisterNodeDialog(const RegisterStructure &structure, QWidget *parent)
    : QDialog(parent)
    , m_structure(structure)
{
    setWindowTitle(QStringLiteral("Свойства конструкции"));
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Название:"), m_name = lineEdit(structure.name, "name", this));
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("kind"));
    m_kind->addItem(QStringLiteral("не указан"), -1);
    for (int kind = 0; kind < ElementKindNames.size(); ++kind)
        m_kind->addItem(ElementKindNames.at(kind), kind);
    m_kind->setCurrentIndex(std::max(0, m_kind->findData(structure.elementKind)));
    form->addRow(QStringLiteral("&Вид изделия:"), m_kind);
    form->addRow(QStringLiteral("Проектный &класс бетона:"), m_designClass = lineEdit(structure.designClass, "class", this));
    m_designClass->setPlaceholderText(QStringLiteral("B25"));
    // No date is offered: an unknown date stays empty rather than today's.
    m_concreted = lineEdit(structure.concretedOn.isValid() ? structure.concretedOn.toString(kDateFormat) : QString(),
                           "concreted", this);
    m_concreted->setPlaceholderText(QStringLiteral("ДД.ММ.ГГГГ; пусто, если неизвестна"));
    form->addRow(QStringLiteral("Дата &бетонирования:"), m_concreted);
    form->addRow(QStringLiteral("&Примечания:"), m_notes = notesEdit(structure.notes, this));
    addButtons();
}

RegisterNodeDialog::RegisterNodeDialog(Register &reg, const RegisterStructure &structure, QWidget *parent)
    : RegisterNodeDialog(structure, parent)
{
    m_register = &reg;
}

void RegisterNodeDialog::accept()
{
    if (m_concreted) {
        const QString typed = m_concreted->text().trimmed();
        QString refusal;
        if (!typed.isEmpty() && !typedDate(typed).isValid())
            refusal = QStringLiteral("Дата бетонирования: «%1» не является датой ДД.ММ.ГГГГ.").arg(typed);
        else if (m_register)
            refusal = concretingDateRefusal(*m_register, m_structure.id, typedDate(typed));
        if (!refusal.isEmpty()) {
            dialogs().error(this, refusal);
            m_concreted->setFocus();
            m_concreted->selectAll();
            return;
        }
    }
    QDialog::accept();
}

void RegisterNodeDialog::addButtons()
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A node is never left without a name.
    connect(m_name, &QLineEdit::textChanged, this, [buttons](const QString &name) {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!name.trimmed().isEmpty());
    });
    static_cast<QFormLayout *>(layout())->addRow(buttons);
}

RegisterObject RegisterNodeDialog::object() const
{
    RegisterObject object = m_object;
    object.name = m_name->text().trimmed();
    object.address = m_address->text();
    object.customer = m_customer->text();
    object.notes = m_notes->toPlainText();
    return object;
}

RegisterStructure RegisterNodeDialog::structure() const
{
    RegisterStructure structure = m_structure;
    structure.name = m_name->text().trimmed();
    structure.elementKind = m_kind->currentData().toInt();
    structure.designClass = m_designClass->text().trimmed();
    structure.concretedOn = typedDate(m_concreted->text());
    structure.notes = m_notes->toPlainText();
    return structure;
}

} // namespace luvir
