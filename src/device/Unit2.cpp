#include "Unit2.h"

#include "AppFonts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>

namespace {

constexpr int kTextPixels = 11; // Tahoma 8 pt
constexpr int kLargePixels = 20; // the status line's larger letters
constexpr int kDialogWidth = 343;
constexpr int kMargin = 8; // the status line's left margin, kept on its right too
constexpr int kStatusLineLeft = 81;

const QString kConnected = QStringLiteral("Прибор подключен");
const QString kReceiving = QStringLiteral("Прием данных! Подождите!!!");
const QString kReceived = QStringLiteral("Архив успешно принят");

// The large letters of "Статус:" and of the status line: Tahoma 20 px as designed; a wider
// font in Tahoma's place is made smaller until "Статус:" ends before the status line and
// the longest status text ends inside the dialog.
QFont largeFont()
{
    QFont font = luvir::tahomaFont(kLargePixels);
    font.setStyleStrategy(QFont::PreferAntialias);
    for (int pixels = kLargePixels; pixels > kTextPixels; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        int longest = 0;
        for (const QString &text : {kConnected, kReceiving, kReceived})
            longest = std::max(longest, metrics.horizontalAdvance(text));
        if (kMargin + metrics.horizontalAdvance(QStringLiteral("Статус:")) < kStatusLineLeft
            && kStatusLineLeft + longest <= kDialogWidth - kMargin)
            break;
    }
    return font;
}

QLabel *placeLabel(QWidget *parent, int left, int top, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// Labels keep their place and grow or shrink with their text.
void setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}

QPushButton *placeButton(QWidget *parent, const QString &text, int left, int top)
{
    auto *button = new QPushButton(text, parent);
    button->setGeometry(left, top, 128, 25);
    button->setAutoDefault(true); // Enter presses the button that has the focus
    return button;
}

} // namespace

TForm2::TForm2(luvir::DeviceLink &link, luvir::ArchiveView &view, QWidget *parent)
    : QDialog(parent)
    , m_view(view)
    , m_download(link, *this)
{
    setWindowTitle(QStringLiteral("Прием данных"));
    setFixedSize(kDialogWidth, 206);
    setFont(luvir::tahomaFont(kTextPixels));

    const QFont large = largeFont();
    Label1 = placeLabel(this, kMargin, 8);
    Label1->setFont(large);
    setLabelText(Label1, QStringLiteral("Статус:"));
    Label8 = placeLabel(this, kStatusLineLeft, 8);
    Label8->setFont(large);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(8, 43, 322, 17);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    Label2 = placeLabel(this, 16, 80, QStringLiteral("Тип прибора:"));
    Label5 = placeLabel(this, 89, 80);
    Label3 = placeLabel(this, 16, 112, QStringLiteral("Версия:"));
    Label6 = placeLabel(this, 61, 112);
    Label4 = placeLabel(this, 16, 144, QStringLiteral("Количество измерений:"));
    Label7 = placeLabel(this, 142, 144);

    Button1 = placeButton(this, QStringLiteral("Скачать"), 8, 169);
    Button2 = placeButton(this, QStringLiteral("Отмена"), 202, 169);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

void TForm2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Button1->setFocus(); // Enter downloads at once
    // Centred on the main window at every showing; a re-shown dialog would otherwise
    // creep by the width of the window frame each time.
    if (const QWidget *owner = parentWidget()) {
        QRect area(QPoint(), size());
        area.moveCenter(owner->window()->geometry().center());
        setGeometry(area);
    }
    FormShow();
}

void TForm2::FormShow()
{
    for (QLabel *label : {Label5, Label6, Label7, Label8})
        setLabelText(label, {});
    ProgressBar1->setValue(0);
    m_download.queryMeter(m_view.session().version);
}

void TForm2::Button1Click()
{
    setLabelText(Label8, kReceiving);
    if (!m_download.readArchive())
        return;
    luvir::ArchiveSession &session = m_view.session();
    m_download.commitTo(session);
    m_view.DisplayArchive();
    m_view.setStatus(QStringLiteral("Готово"));
    setLabelText(Label8, kReceived);
    // The register after the table: a register that cannot be written delays nothing the
    // user sees and changes none of the download's texts, and says so once it is over.
    if (luvir::DownloadRecorder *recorder = m_view.downloadRecorder()) {
        const luvir::DownloadRecord record = m_download.recordTo(*recorder);
        m_view.downloadRecorded(record);
        if (!record.complete)
            luvir::dialogs().message(parentWidget(), record.text);
    }
}

void TForm2::Button2Click()
{
    close();
}

void TForm2::reportFailure(const QString &text)
{
    luvir::tellUser(this, &m_view, text);
}

void TForm2::showMessage(const QString &text)
{
    luvir::dialogs().message(this, text);
}

void TForm2::showProtocolVersion(const QString &text)
{
    setLabelText(Label6, text);
}

void TForm2::showArchiveSize(const QString &text)
{
    setLabelText(Label7, text);
}

void TForm2::showStatus(const QString &text)
{
    m_view.setStatus(text);
}

void TForm2::meterAnswered()
{
    setLabelText(Label5, QStringLiteral("ЛЮВИР-2.07"));
    setLabelText(Label8, kConnected);
    m_view.blankTableRows();
}

void TForm2::cellsToRead(int cells)
{
    // A range of 0..0 would turn the bar into a busy indicator; an empty archive shows it empty.
    ProgressBar1->setRange(0, std::max(cells, 1));
    ProgressBar1->setValue(0);
}

void TForm2::readingCell(int number)
{
    ProgressBar1->setValue(number); // before the cell is read: the bar is full during the last one
    ProgressBar1->repaint(); // no events are processed until the download ends
}
