#include "LuvirApplication.h"
#include "ScriptedDialogs.h"
#include "Startup.h"
#include "Unit3.h"
#include "Unit4.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <stdexcept>

using luvir::test::ScriptedDialogs;

namespace {

// An object whose event handler fails the way a command handler might.
class Throwing : public QObject
{
public:
    bool throwObject = true;

protected:
    bool event(QEvent *) override
    {
        if (throwObject)
            throw std::runtime_error("Не удалось создать файл");
        throw 42;
    }
};

} // namespace

TEST(Startup, AnExceptionEscapingAHandlerIsShownAndTheProgramGoesOn)
{
    ScriptedDialogs dialogs;
    Throwing object;
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    object.throwObject = false;
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.errors(), (QStringList{"Не удалось создать файл", ""}));
    EXPECT_EQ(dialogs.shown[0].caption, "ЛЮВИР-2.07");
}

TEST(Startup, ApplicationCarriesTheProgramVersion)
{
    EXPECT_EQ(QCoreApplication::applicationVersion(), "1.0.1.0");
}

TEST(Startup, SplashShowsTheBannerUnscaledInTheMiddleOfTheScreen)
{
    TForm3 splash;
    EXPECT_EQ(splash.size(), QSize(401, 78));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.Image1->pixmap().size(), QSize(400, 78));
    EXPECT_EQ(splash.Image1->pixmap().depth(), 32 /* the 24-bit banner, as Qt holds it */);
    EXPECT_EQ(splash.Timer1->interval(), 3000);
    EXPECT_FALSE(splash.Timer1->isActive()) << "the timer starts only when the splash is shown";
    // The column right of the banner carries on its edge: no stripe of another colour.
    const QImage shown = splash.grab().toImage();
    const QImage banner = splash.Image1->pixmap().toImage();
    for (int y = 0; y < 78; ++y) {
        EXPECT_EQ(shown.pixel(0, y), banner.pixel(0, y)) << "unscaled from the top-left, row " << y;
        EXPECT_EQ(shown.pixel(400, y), banner.pixel(399, y)) << "row " << y;
    }

    QRect shownAt;
    QTimer::singleShot(0, &splash, [&] {
        shownAt = splash.frameGeometry();
        splash.Timer1Timer();
    });
    splash.exec();
    // Equal room on both sides, to the pixel (the room left over can be odd).
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(shownAt.size(), QSize(401, 78)) << "no frame";
    EXPECT_LE(std::abs((shownAt.left() - screen.left()) - (screen.right() - shownAt.right())), 1);
    EXPECT_LE(std::abs((shownAt.top() - screen.top()) - (screen.bottom() - shownAt.bottom())), 1);
}

TEST(Startup, OnlyTheTimerEndsTheSplashAfterThreeSeconds)
{
    TForm3 splash;
    bool visibleAfterEsc = false;
    QTimer::singleShot(300, &splash, [&] {
        QTest::keyClick(&splash, Qt::Key_Escape);
        splash.close();
        visibleAfterEsc = splash.isVisible();
    });
    QElapsedTimer clock;
    clock.start();
    splash.exec();
    EXPECT_TRUE(visibleAfterEsc) << "neither Esc nor a close request ends it";
    // A loaded machine may take longer; never shorter.
    EXPECT_GE(clock.elapsed(), 3000) << "never earlier than three seconds";
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST(Startup, AFailureThatEscapesStartUpIsShownAndEndsTheProgramWithAFailureCode)
{
    const struct {
        const char *name;
        std::function<void()> program;
        bool fails;
        QString shown; // the error box's text
    } cases[] = {
        {"exception", [] { throw std::runtime_error("Нет памяти"); }, true, "Нет памяти"},
        {"other value", [] { throw 7; }, true, ""},
        {"normal end", [] {}, false, {}},
    };
    for (const auto &c : cases) {
        ScriptedDialogs dialogs;
        const int code = luvir::runGuarded(c.program);
        if (c.fails) {
            EXPECT_NE(code, 0) << c.name;
            EXPECT_EQ(dialogs.errors(), QStringList{c.shown}) << c.name;
            EXPECT_EQ(dialogs.shown.size(), 1) << c.name;
        } else {
            EXPECT_EQ(code, 0) << c.name;
            EXPECT_TRUE(dialogs.shown.isEmpty()) << c.name;
        }
    }
}

TEST(Startup, AboutWindowOpensTopLeftAndKeepsWhereItWasPut)
{
    TForm4 about;
    EXPECT_EQ(about.windowTitle(), "О программе");
    EXPECT_EQ(about.Label1->text(), "ЛЮВИР-2.07");
    EXPECT_EQ(about.Label2->text(), "Версия: 1.0.0.1");
    EXPECT_EQ(about.Label3->text(), "Программа для передачи данных с приборп ЛЮВИР-2.07");
    EXPECT_EQ(about.Label1->pos(), QPoint(16, 16));
    EXPECT_EQ(about.Label2->pos(), QPoint(16, 56));
    EXPECT_EQ(about.Label3->pos(), QPoint(16, 88));

    QPoint shownAt;
    QTimer::singleShot(0, &about, [&] {
        shownAt = about.pos();
        about.move(120, 80);
        about.resize(500, 150);
        about.close();
    });
    about.exec();
    EXPECT_EQ(shownAt, QPoint(0, 0));

    QPoint again;
    QSize size;
    QTimer::singleShot(0, &about, [&] {
        again = about.pos();
        size = about.size();
        about.close();
    });
    about.exec();
    EXPECT_EQ(again, QPoint(120, 80));
    EXPECT_EQ(size, QSize(500, 150));
}
