#include "RegisterNodeDialog.h"

#include "CellText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
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
    // The date of concreting may be unknown: the box says whether it is given.
    auto *concreted = new QHBoxLayout;
    m_concretedKnown = new QCheckBox(QStringLiteral("известна"), this);
    m_concretedKnown->setObjectName(QStringLiteral("concretedKnown"));
    m_concreted = new QDateEdit(structure.concretedOn.isValid() ? structure.concretedOn : QDate::currentDate(), this);
    m_concreted->setObjectName(QStringLiteral("concreted"));
    m_concreted->setCalendarPopup(true);
    m_concreted->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_concretedKnown->setChecked(structure.concretedOn.isValid());
    m_concreted->setEnabled(structure.concretedOn.isValid());
    connect(m_concretedKnown, &QCheckBox::toggled, m_concreted, &QWidget::setEnabled);
    concreted->addWidget(m_concretedKnown);
    concreted->addWidget(m_concreted, 1);
    auto *concretedLabel = new QLabel(QStringLiteral("Дата &бетонирования:"), this);
    concretedLabel->setBuddy(m_concretedKnown); // a row of a layout has no buddy of its own
    form->addRow(concretedLabel, concreted);
    form->addRow(QStringLiteral("&Примечания:"), m_notes = notesEdit(structure.notes, this));
    addButtons();
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
    structure.concretedOn = m_concretedKnown->isChecked() ? m_concreted->date() : QDate();
    structure.notes = m_notes->toPlainText();
    return structure;
}

} // namespace luvir
