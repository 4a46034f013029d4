#include "StatsWindow.h"

#include "AtomicFile.h"
#include "CsvDocument.h"
#include "SeriesTable.h"
#include "UserDialogs.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace luvir {

namespace {

// The save dialog offers the name chosen last in this run.
FileDialogRequest &csvRequest()
{
    static FileDialogRequest request {QStringLiteral("Текст CSV (*.csv)"), QStringLiteral("csv"), QString(),
        QStringLiteral("Текст CSV (*.csv)")};
    return request;
}

} // namespace

StatsWindow::StatsWindow(const QList<Measurement> &measurements, const QString &separator, QWidget *parent)
    : QDialog(parent)
    , m_measurements(measurements)
    , m_separator(separator)
{
    setWindowTitle(QStringLiteral("Статистика измерений"));
    setModal(true);

    const int first = m_measurements.isEmpty() ? 0 : m_measurements.first().number;
    const int last = m_measurements.isEmpty() ? 0 : m_measurements.last().number;
    auto numberBox = [&](int value) {
        auto *box = new QSpinBox(this);
        box->setRange(first, last);
        box->setValue(value);
        box->setEnabled(!m_measurements.isEmpty());
        return box;
    };
    FromNumber = numberBox(first);
    ToNumber = numberBox(last);
    ByKind = new QCheckBox(QStringLiteral("по видам изделий"), this);

    auto *range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("Измерения № с"), this));
    range->addWidget(FromNumber);
    range->addWidget(new QLabel(QStringLiteral("по"), this));
    range->addWidget(ToNumber);
    range->addSpacing(16);
    range->addWidget(ByKind);
    range->addStretch();
    RangeNote = new QLabel(QStringLiteral("Номер \"с\" больше номера \"по\": в диапазоне нет измерений."), this);
    RangeNote->setStyleSheet(QStringLiteral("color: #b00000"));
    RangeNote->hide();

    m_model = new SeriesTableModel(this);
    Table = new QTableView(this);
    Table->setModel(m_model);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setWordWrap(false);
    Table->setTabKeyNavigation(false); // Tab goes on to the buttons, not from cell to cell
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(20);
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    Table->horizontalHeader()->resizeSection(0, 150);

    auto *note
        = new QLabel(QStringLiteral("Прочность в МПа. \"—\": величина не определена. Значок предупреждения: "
                                    "в группе смешаны зависимости или Kc (подробнее в подсказке строки)."),
            this);
    note->setWordWrap(true);
    ExtraNote = new QLabel(this);
    ExtraNote->setWordWrap(true);
    ExtraNote->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    ExtraNote->hide();

    CopyButton = new QPushButton(QStringLiteral("Копировать"), this);
    SaveButton = new QPushButton(QStringLiteral("Сохранить CSV…"), this);
    CloseButton = new QPushButton(QStringLiteral("Закрыть"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CopyButton);
    buttons->addWidget(SaveButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(RangeNote);
    layout->addWidget(Table, 1);
    layout->addWidget(note);
    layout->addWidget(ExtraNote);
    layout->addLayout(buttons);
    resize(640, 420);

    // Each box keeps what the user typed, also on the way to a number (typing 10 passes
    // through 1); a range that runs backwards holds no measurement and says so.
    connect(FromNumber, &QSpinBox::valueChanged, this, &StatsWindow::refresh);
    connect(ToNumber, &QSpinBox::valueChanged, this, &StatsWindow::refresh);
    connect(ByKind, &QCheckBox::toggled, this, &StatsWindow::refresh);
    connect(CopyButton, &QPushButton::clicked, this, &StatsWindow::copyTable);
    connect(SaveButton, &QPushButton::clicked, this, &StatsWindow::saveTable);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    refresh();
}

void StatsWindow::refresh()
{
    RangeNote->setVisible(!m_measurements.isEmpty() && FromNumber->value() > ToNumber->value());
    const QList<Measurement> chosen = m_measurements.isEmpty()
        ? m_measurements
        : measurementsNumbered(m_measurements, FromNumber->value(), ToNumber->value());
    const SeriesGrouping grouping = ByKind->isChecked() ? SeriesGrouping::ElementKind : SeriesGrouping::None;
    QList<SeriesGroup> groups = seriesGroups(chosen, grouping, m_separator);
    if (m_extraGroups)
        groups += m_extraGroups(chosen);
    m_model->setGroups(groups, m_separator);
}

void StatsWindow::setExtraGroups(ExtraGroups groups, const QStringList &lines)
{
    m_extraGroups = std::move(groups);
    ExtraNote->setText(lines.join(u'\n'));
    ExtraNote->setVisible(!lines.isEmpty());
    refresh();
}

QList<QStringList> StatsWindow::tableLines() const
{
    return seriesDataLines(m_model->groups(), m_separator);
}

void StatsWindow::copyTable()
{
    QGuiApplication::clipboard()->setText(tabSeparated(tableLines()));
}

void StatsWindow::saveTable()
{
    FileDialogRequest &request = csvRequest();
    const QString fileName = dialogs().saveFileName(this, request);
    if (fileName.isEmpty())
        return;
    request.fileName = fileName;
    QString reason;
    if (!writeFileAtomically(fileName, csvDocument(tableLines()), &reason))
        dialogs().error(this,
            QStringLiteral("Не удалось сохранить файл \"%1\": %2")
                .arg(QDir::toNativeSeparators(fileName), reason));
}

} // namespace luvir
