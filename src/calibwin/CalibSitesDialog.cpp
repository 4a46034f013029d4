#include "CalibSitesDialog.h"

#include "CalibDates.h"
#include "CalibText.h"
#include "CellText.h"
#include "RegisterTypes.h"
#include "UserDialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace luvir {

namespace {

// A strength typed in MPa: up to three digits, then at most `decimals` decimals after a
// comma or a point.
QLineEdit *strengthEdit(int decimals, const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,3}([.,]\\d{0,%1})?").arg(decimals)), edit));
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000,00")) + 24);
    return edit;
}

// The number typed; 0 when there is none.
double typedStrength(const QLineEdit *edit)
{
    return QString(edit->text()).replace(u',', u'.').toDouble();
}

} // namespace

CalibSitesDialog::CalibSitesDialog(
    RegisterId setId, const QList<RegisterMeasurement> &measurements, QWidget *parent)
    : QDialog(parent)
{
    for (const RegisterMeasurement &m : measurements) {
        Row row;
        row.site.setId = setId;
        row.site.measurementId = m.id;
        row.site.label = m.site.isEmpty() ? dateTimeText(m.cell) : m.site;
        indirectValueOf(m.cell, row.site.indirect, row.site.unusable);
        // Offered: the day of the measurement, beside which the direct test is made.
        row.site.testedOn = QDate(2000 + m.cell.byte(ArchiveCell::Year), m.cell.byte(ArchiveCell::Month),
            m.cell.byte(ArchiveCell::Day));
        m_rows << row;
    }
    build(QStringLiteral("Прямые испытания на выбранных измерениях"), false);
}

CalibSitesDialog::CalibSitesDialog(RegisterId setId, QWidget *parent)
    : QDialog(parent)
{
    Row row;
    row.site.setId = setId;
    m_rows << row;
    build(QStringLiteral("Участок без измерения"), true);
}

void CalibSitesDialog::build(const QString &caption, bool typed)
{
    setWindowTitle(caption);
    const QString separator = systemDecimalSeparator();
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(new QLabel(typed
            ? QStringLiteral("Метка участка, косвенное значение H (прочность по прибору до Kc) и прочность "
                             "по прямому методу:")
            : QStringLiteral("Прочность по прямому методу (МПа, один знак после запятой) и дата прямого "
                             "испытания для каждого участка:"),
        this));
    auto *area = new QScrollArea(this);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    auto *inside = new QWidget(area);
    auto *grid = new QGridLayout(inside);
    const QStringList titles {QStringLiteral("Участок"), QStringLiteral("H, МПа"),
        QStringLiteral("R прямой, МПа"), QStringLiteral("Дата испытания")};
    for (int column = 0; column < titles.size(); ++column)
        grid->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(titles.at(column)), inside), 0, column);
    for (int i = 0; i < m_rows.size(); ++i) {
        Row &row = m_rows[i];
        const int line = i + 1;
        if (typed) {
            row.label = new QLineEdit(inside);
            row.label->setObjectName(QStringLiteral("label"));
            row.label->setPlaceholderText(QStringLiteral("например, 12 или Б-3"));
            row.indirect = strengthEdit(2, "indirect", inside);
            grid->addWidget(row.label, line, 0);
            grid->addWidget(row.indirect, line, 1);
        } else {
            grid->addWidget(new QLabel(row.site.label, inside), line, 0);
            grid->addWidget(
                new QLabel(
                    row.site.unusable.isEmpty() ? calibNumber(row.site.indirect, 2, separator) : QString(),
                    inside),
                line, 1, Qt::AlignRight);
        }
        if (!row.site.unusable.isEmpty()) {
            grid->addWidget(
                new QLabel(QStringLiteral("нельзя использовать: %1").arg(row.site.unusable), inside), line, 2,
                1, 2);
            continue;
        }
        row.direct = strengthEdit(1, "direct", inside);
        row.date = new QLineEdit(dateText(row.site.testedOn), inside);
        row.date->setObjectName(QStringLiteral("date"));
        row.date->setPlaceholderText(QStringLiteral("ДД.ММ.ГГГГ"));
        grid->addWidget(row.direct, line, 2);
        grid->addWidget(row.date, line, 3);
    }
    grid->setRowStretch(static_cast<int>(m_rows.size()) + 1, 1);
    area->setWidget(inside);
    outer->addWidget(area, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
    // The keyboard starts in the first field to type.
    for (const Row &row : std::as_const(m_rows))
        if (QLineEdit *first = row.label ? row.label : row.direct) {
            first->setFocus();
            break;
        }
    // As many rows as the screen holds; the rest scroll.
    const int available = screen() ? screen()->availableGeometry().height() - 120 : 600;
    resize(std::max(520, inside->sizeHint().width() + 40),
        std::min(available, inside->sizeHint().height() + 120));
}

QList<CalibrationSite> CalibSitesDialog::sites() const
{
    QList<CalibrationSite> sites;
    for (const Row &row : m_rows) {
        if (!row.direct)
            continue;
        CalibrationSite site = row.site;
        if (row.label)
            site.label = row.label->text().trimmed();
        if (row.indirect)
            site.indirect = typedStrength(row.indirect);
        if (site.measurementId != 0)
            site.label.clear(); // the measurement's own site label is shown
        site.direct = typedStrength(row.direct);
        site.testedOn = typedDate(row.date->text());
        sites << site;
    }
    return sites;
}

void CalibSitesDialog::accept()
{
    auto refuse = [this](QWidget *field, const QString &why) {
        dialogs().error(this, why);
        field->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->selectAll();
    };
    for (const Row &row : m_rows) {
        if (!row.direct)
            continue;
        const QString name = row.label ? row.label->text().trimmed() : row.site.label;
        if (row.label && name.isEmpty())
            return refuse(row.label, QStringLiteral("Введите метку участка."));
        if (row.indirect && typedStrength(row.indirect) <= 0)
            return refuse(row.indirect,
                QStringLiteral("Участок «%1»: введите косвенное значение H больше 0.").arg(name));
        if (typedStrength(row.direct) <= 0)
            return refuse(row.direct,
                QStringLiteral("Участок «%1»: введите прочность по прямому методу больше 0.").arg(name));
        if (const QString why
            = dateRefusal(QStringLiteral("Участок «%1», дата испытания").arg(name), row.date->text());
            !why.isEmpty())
            return refuse(row.date, why);
    }
    QDialog::accept();
}

} // namespace luvir
