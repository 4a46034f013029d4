#include "Unit3.h"

#include "UserDialogs.h"
#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

static void initSplashResources()
{
    Q_INIT_RESOURCE(app);
}

TForm3::TForm3(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    initSplashResources();
    setWindowTitle(luvir::kAppTitle);
    setFixedSize(401, 78);

    const QPixmap banner(QStringLiteral(":/app/banner.bmp"));
    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, 401, 78);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(banner);
    // The window is a pixel wider than the banner; its background continues the banner's
    // last column, so no light stripe shows along the right edge.
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window, QBrush(banner.copy(banner.width() - 1, 0, 1, banner.height())));
    setPalette(palette);

    Timer1 = new QTimer(this);
    Timer1->setInterval(3000);
    Timer1->setTimerType(Qt::PreciseTimer); // a coarse timer may fire up to 5 % early
    connect(Timer1, &QTimer::timeout, this, &TForm3::Timer1Timer);

    // Exactly in the middle of the screen: a window without a frame needs no guess at one.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(luvir::centredTopLeft(screen->geometry(), size()));
}

void TForm3::reject()
{
    // Only the timer ends the splash: Esc and close requests are ignored.
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm3::FormShow()
{
    Timer1->start();
}

void TForm3::Timer1Timer()
{
    done(QDialog::Accepted);
}
