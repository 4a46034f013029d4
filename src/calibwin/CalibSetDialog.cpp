#include "CalibSetDialog.h"

#include "CalibDates.h"
#include "UserDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace luvir {

CalibSetDialog::CalibSetDialog(const CalibrationSet &set, QWidget *parent)
    : QDialog(parent)
    , m_set(set)
{
    setWindowTitle(set.id == 0 ? QStringLiteral("Новый градуировочный набор")
                               : QStringLiteral("Свойства градуировочного набора"));
    auto *form = new QFormLayout(this);
    Name = new QLineEdit(set.name, this);
    Name->setMinimumWidth(Name->fontMetrics().averageCharWidth() * 45);
    form->addRow(QStringLiteral("&Название:"), Name);
    Method = new QComboBox(this);
    for (const DirectMethod method :
        {DirectMethod::PullOff, DirectMethod::EdgeShear, DirectMethod::Cores, DirectMethod::Cubes})
        Method->addItem(directMethodName(method), static_cast<int>(method));
    Method->setCurrentIndex(std::max(0, Method->findData(static_cast<int>(set.method))));
    form->addRow(QStringLiteral("&Прямой метод:"), Method);
    Concrete = new QLineEdit(set.concrete, this);
    Concrete->setPlaceholderText(QStringLiteral("например, B25, тяжёлый, завод ЖБИ-2"));
    form->addRow(QStringLiteral("&Бетон:"), Concrete);
    MadeOn = new QLineEdit(dateText(set.madeOn), this);
    MadeOn->setPlaceholderText(QStringLiteral("ДД.ММ.ГГГГ; пусто, если неизвестна"));
    form->addRow(QStringLiteral("&Дата:"), MadeOn);
    Notes = new QPlainTextEdit(set.notes, this);
    Notes->setTabChangesFocus(true);
    Notes->setFixedHeight(Notes->fontMetrics().lineSpacing() * 3 + 12);
    form->addRow(QStringLiteral("П&римечания:"), Notes);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto nameGiven = [buttons](const QString &name) {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!name.trimmed().isEmpty());
    };
    connect(Name, &QLineEdit::textChanged, this, nameGiven);
    nameGiven(Name->text());
    form->addRow(buttons);
}

CalibrationSet CalibSetDialog::set() const
{
    CalibrationSet set = m_set;
    set.name = Name->text().trimmed();
    set.method = static_cast<DirectMethod>(Method->currentData().toInt());
    set.concrete = Concrete->text().trimmed();
    set.madeOn = typedDate(MadeOn->text());
    set.notes = Notes->toPlainText();
    return set;
}

void CalibSetDialog::accept()
{
    if (Name->text().trimmed().isEmpty())
        return;
    if (const QString why = dateRefusal(QStringLiteral("Дата набора"), MadeOn->text()); !why.isEmpty()) {
        dialogs().error(this, why);
        MadeOn->setFocus();
        MadeOn->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace luvir
