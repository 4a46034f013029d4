#include "ProtocolDialog.h"

#include "CellText.h"
#include "ProtocolFields.h"
#include "ProtocolPages.h"
#include "ProtocolWriter.h"
#include "RegisterProtocol.h"
#include "ReportPreview.h"
#include "UserDialogs.h"
#include "WaitCursor.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>

namespace luvir {

namespace {

struct FormatInfo {
    const char *filter;
    const char *suffix;
};
const FormatInfo kFormats[] = {
    {"Документ PDF (*.pdf)", "pdf"},
    {"Документ ODF (*.odt)", "odt"},
};

// "Протокол 17-26.pdf" for the protocol № 17/26: the characters a file name cannot hold
// become "-".
QString offeredFileName(const QString &number, const char *suffix)
{
    QString name = QStringLiteral("Протокол");
    const QString cleaned = number.simplified().replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("-"));
    if (!cleaned.isEmpty())
        name += u' ' + cleaned;
    return name + u'.' + QLatin1String(suffix);
}

QGroupBox *group(const QString &title, QWidget *parent, QFormLayout *&form)
{
    auto *box = new QGroupBox(title, parent);
    form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return box;
}

} // namespace

ProtocolDialog::ProtocolDialog(Register &reg, const QList<RegisterId> &structureIds, QWidget *parent)
    : QDialog(parent)
    , m_register(reg)
{
    setWindowTitle(QStringLiteral("Протокол испытаний"));
    {
        const WaitCursor wait;
        if (auto made = protocolFromRegister(m_register, structureIds, QDate::currentDate(), m_error))
            m_made = *made;
        m_objectId = objectOfStructures(m_register, structureIds);
    }

    auto *layout = new QVBoxLayout(this);
    int sites = 0;
    QStringList names;
    for (const ProtocolStructure &structure : std::as_const(m_made.structures)) {
        names << structure.name;
        sites += static_cast<int>(structure.sites.size());
    }
    auto *what = new QLabel(QStringLiteral("Конструкции: %1; участков: %2").arg(names.join(QStringLiteral("; "))).arg(sites), this);
    what->setWordWrap(true);
    layout->addWidget(what);

    auto *grid = new QGridLayout;
    layout->addLayout(grid, 1);
    QFormLayout *form = nullptr;

    grid->addWidget(group(QStringLiteral("Протокол"), this, form), 0, 0);
    form->addRow(QStringLiteral("&Номер:"), m_number = new QLineEdit(this));
    form->addRow(QStringLiteral("&Дата:"), m_date = new QDateEdit(this));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    form->addRow(QStringLiteral("&Условия испытаний:"), m_conditions = new QLineEdit(this));
    m_conditions->setPlaceholderText(QStringLiteral("температура воздуха +12 °C"));

    grid->addWidget(group(QStringLiteral("Испытательная лаборатория"), this, form), 1, 0);
    form->addRow(QStringLiteral("Наименование:"), m_laboratoryName = new QLineEdit(this));
    form->addRow(QStringLiteral("Адрес:"), m_laboratoryAddress = new QLineEdit(this));
    form->addRow(QStringLiteral("Аттестат аккредитации:"), m_accreditation = new QLineEdit(this));

    grid->addWidget(group(QStringLiteral("Заказчик и объект"), this, form), 2, 0);
    form->addRow(QStringLiteral("&Заказчик:"), m_customer = new QLineEdit(this));
    form->addRow(QStringLiteral("&Объект:"), m_objectName = new QLineEdit(this));
    form->addRow(QStringLiteral("Адрес объекта:"), m_objectAddress = new QLineEdit(this));

    grid->addWidget(group(QStringLiteral("Исполнитель"), this, form), 3, 0);
    form->addRow(QStringLiteral("Ф. И. О.:"), m_executorName = new QLineEdit(this));
    form->addRow(QStringLiteral("Должность:"), m_executorPosition = new QLineEdit(this));

    grid->addWidget(group(QStringLiteral("Метод и прибор"), this, form), 0, 1, 2, 1);
    form->addRow(QStringLiteral("Нормативные\nдокументы:"), m_standards = new QPlainTextEdit(this));
    m_standards->setTabChangesFocus(true);
    m_standards->setFixedHeight(m_standards->fontMetrics().lineSpacing() * 3 + 12);
    form->addRow(QStringLiteral("Прибор:"), m_instrument = new QLineEdit(this));
    form->addRow(QStringLiteral("Заводской №:"), m_serialNumber = new QLineEdit(this));
    form->addRow(QStringLiteral("Свидетельство о поверке №:"), m_verificationNumber = new QLineEdit(this));
    form->addRow(QStringLiteral("Дата поверки:"), m_verificationDate = new QLineEdit(this));
    m_verificationDate->setPlaceholderText(QStringLiteral("ДД.ММ.ГГГГ"));

    auto *conclusionBox = new QGroupBox(QStringLiteral("Заключение"), this);
    auto *conclusionLayout = new QVBoxLayout(conclusionBox);
    conclusionLayout->addWidget(m_conclusion = new QPlainTextEdit(this));
    m_conclusion->setTabChangesFocus(true);
    m_conclusion->setPlaceholderText(
        QStringLiteral("Текст заключения пишет инженер: программа не вычисляет класс бетона и не делает вывода о соответствии."));
    grid->addWidget(conclusionBox, 2, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    layout->addWidget(m_withValues = new QCheckBox(QStringLiteral("с &единичными значениями"), this));
    m_status = new QLabel(this);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *previewButton = buttons->addButton(QStringLiteral("&Просмотр…"), QDialogButtonBox::ActionRole);
    QPushButton *pdfButton = buttons->addButton(QStringLiteral("P&DF…"), QDialogButtonBox::ActionRole);
    QPushButton *odtButton = buttons->addButton(QStringLiteral("OD&T…"), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    connect(previewButton, &QPushButton::clicked, this, &ProtocolDialog::preview);
    connect(pdfButton, &QPushButton::clicked, this, &ProtocolDialog::savePdf);
    connect(odtButton, &QPushButton::clicked, this, &ProtocolDialog::saveOdt);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    previewButton->setDefault(true);

    // Each field is named by its key, as a field file names it.
    const std::pair<QWidget *, const char *> keys[] = {{m_number, "number"}, {m_date, "date"},
        {m_conditions, "conditions"}, {m_laboratoryName, "laboratory"}, {m_laboratoryAddress, "laboratory_address"},
        {m_accreditation, "accreditation"}, {m_customer, "customer"}, {m_objectName, "object"},
        {m_objectAddress, "object_address"}, {m_standards, "standards"}, {m_instrument, "instrument"},
        {m_serialNumber, "serial_number"}, {m_verificationNumber, "verification_number"},
        {m_verificationDate, "verification_date"}, {m_conclusion, "conclusion"}, {m_executorName, "executor"},
        {m_executorPosition, "executor_position"}, {m_withValues, "values"}};
    for (const auto &[widget, key] : keys)
        widget->setObjectName(QLatin1String(key));

    fill(m_made.header);
    m_withValues->setChecked(m_made.withValues); // as the last protocol had it
    // As wide as the fields need, within the screen.
    if (const QScreen *screen = this->screen()) {
        const QSize room = screen->availableSize();
        resize(std::min(920, room.width()), std::min(sizeHint().height(), room.height()));
    }
}

void ProtocolDialog::fill(const ProtocolHeader &header)
{
    m_number->setText(header.number);
    m_date->setDate(header.date.isValid() ? header.date : QDate::currentDate());
    m_conditions->setText(header.conditions);
    m_laboratoryName->setText(header.laboratoryName);
    m_laboratoryAddress->setText(header.laboratoryAddress);
    m_accreditation->setText(header.accreditation);
    m_customer->setText(header.customer);
    m_objectName->setText(header.objectName);
    m_objectAddress->setText(header.objectAddress);
    m_standards->setPlainText(header.standards.join(u'\n'));
    m_instrument->setText(header.instrument);
    m_serialNumber->setText(header.serialNumber);
    m_verificationNumber->setText(header.verificationNumber);
    m_verificationDate->setText(protocolField(header, QStringLiteral("verification_date")));
    m_conclusion->setPlainText(header.conclusion);
    m_executorName->setText(header.executorName);
    m_executorPosition->setText(header.executorPosition);
}

std::optional<ProtocolContent> ProtocolDialog::content()
{
    ProtocolContent content = m_made;
    ProtocolHeader &h = content.header;
    h.number = m_number->text();
    h.date = m_date->date();
    h.conditions = m_conditions->text();
    h.laboratoryName = m_laboratoryName->text();
    h.laboratoryAddress = m_laboratoryAddress->text();
    h.accreditation = m_accreditation->text();
    h.customer = m_customer->text();
    h.objectName = m_objectName->text();
    h.objectAddress = m_objectAddress->text();
    h.instrument = m_instrument->text();
    h.serialNumber = m_serialNumber->text().trimmed();
    h.verificationNumber = m_verificationNumber->text();
    h.conclusion = m_conclusion->toPlainText();
    h.executorName = m_executorName->text();
    h.executorPosition = m_executorPosition->text();
    content.withValues = m_withValues->isChecked();
    QString error;
    setProtocolField(h, QStringLiteral("standards"), m_standards->toPlainText(), error);
    if (!setProtocolField(h, QStringLiteral("verification_date"), m_verificationDate->text(), error)) {
        dialogs().error(this, QStringLiteral("Дата поверки: %1.").arg(error));
        m_verificationDate->setFocus();
        return std::nullopt;
    }
    return content;
}

void ProtocolDialog::preview()
{
    const auto made = content();
    if (!made)
        return;
    std::shared_ptr<const ProtocolPages> pages;
    {
        const WaitCursor wait;
        pages = std::make_shared<const ProtocolPages>(*made, systemDecimalSeparator());
    }
    // The pages are painted in dots; the preview paints in report units of 1/96 inch.
    constexpr double kUnitsPerDot = 96.0 / ProtocolPages::kDotsPerInch;
    FixedPages shown {pages->pageCount(), ProtocolPages::pageSize() * kUnitsPerDot,
        [pages](QPainter &painter, int index) {
            painter.save();
            painter.scale(kUnitsPerDot, kUnitsPerDot);
            pages->paintPage(painter, index);
            painter.restore();
        }};
    ReportPreview window(std::move(shown), ProtocolPages::pageLayout(), this);
    window.setWindowTitle(QStringLiteral("Протокол испытаний: просмотр"));
    // Maximised as the report's preview: sized to the whole screen, its frame put the bottom
    // of the pages and the scroll bar below a 1024 × 768 screen.
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.printer().setDocName(offeredFileName(made->header.number, "pdf").chopped(4));
    window.exportMenu()->addAction(QStringLiteral("PDF…"), &window, [this, &window] { save(Format::Pdf, &window); });
    window.exportMenu()->addAction(QStringLiteral("ODT…"), &window, [this, &window] { save(Format::Odt, &window); });
    connect(&window, &ReportPreview::printed, this, [this, printed = *made] {
        keepFields(printed);
        m_status->setText(QStringLiteral("Протокол напечатан"));
    });
    window.exec();
}

bool ProtocolDialog::savePdf()
{
    return save(Format::Pdf, this);
}

bool ProtocolDialog::saveOdt()
{
    return save(Format::Odt, this);
}

bool ProtocolDialog::save(Format format, QWidget *parent)
{
    const auto made = content();
    if (!made)
        return false;
    const FormatInfo &info = kFormats[static_cast<int>(format)];
    QString &last = m_lastFile[static_cast<int>(format)];
    FileDialogRequest request {QString::fromUtf8(info.filter), QString::fromLatin1(info.suffix),
        last.isEmpty() ? offeredFileName(made->header.number, info.suffix) : last, QString::fromUtf8(info.filter)};
    const QString fileName = dialogs().saveFileName(parent, request);
    if (fileName.isEmpty())
        return false;
    last = fileName;
    QString error;
    bool saved = false;
    {
        const WaitCursor wait;
        saved = format == Format::Pdf ? writeProtocolPdf(*made, fileName, &error) : writeProtocolOdt(*made, fileName, &error);
    }
    if (!saved) {
        dialogs().error(parent, error);
        return false;
    }
    keepFields(*made);
    m_status->setText(QStringLiteral("Протокол сохранён: %1").arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath())));
    return true;
}

void ProtocolDialog::keepFields(const ProtocolContent &content)
{
    QString error;
    if (!keepProtocolFields(m_register, m_objectId, content, error))
        dialogs().error(this, QStringLiteral("Поля протокола не сохранены в журнале: %1").arg(error));
}

} // namespace luvir
