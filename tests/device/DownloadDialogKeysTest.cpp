// The download dialog by keyboard, and its large status texts in the fonts at hand.
#include "DownloadDialogFixture.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace luvir;
using namespace luvir::test;

namespace {

// Every text of the status line ends inside the dialog, whatever font stands in for the
// design's; "Статус:" ends before the status line begins.
TEST(DownloadDialogLayout, TheStatusTextsFitTheDialogInTheFontsAtHand)
{
    EventLog log;
    FakeArchiveView view {log};
    DeviceLink link;
    TForm2 form {link, view};
    const QString family = QFontInfo(form.Label8->font()).family();
    EXPECT_LT(form.Label1->geometry().right(), form.Label8->x()) << family.toStdString();
    for (const QString &text : {QStringLiteral("Прибор подключен"), QStringLiteral("Прием данных! Подождите!!!"),
             QStringLiteral("Архив успешно принят")}) {
        const int width = QFontMetrics(form.Label8->font()).horizontalAdvance(text);
        EXPECT_LE(form.Label8->x() + width, form.width() - 8)
            << text.toStdString() << " in " << family.toStdString() << " " << form.Label8->font().pixelSize() << " px";
    }
}

class DownloadDialogKeys : public DownloadDialogTest
{
protected:
    // The key goes where the keyboard focus is.
    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

    void SetUp() override
    {
        meter.generateCells(5);
        ASSERT_TRUE(ConnectDevice(link, nullptr, &view));
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
};

TEST_F(DownloadDialogKeys, EnterDownloadsAsTheDialogOpens)
{
    EXPECT_EQ(QApplication::focusWidget(), form.Button1);
    press(Qt::Key_Return);
    EXPECT_EQ(view.shownCount, 5);
    EXPECT_EQ(form.Label8->text(), QStringLiteral("Архив успешно принят"));
}

TEST_F(DownloadDialogKeys, EnterPressesTheFocusedButton)
{
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form.Button2);
    press(Qt::Key_Enter); // the keypad's Enter as well as Return
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(log.events.contains(QStringLiteral("display")));

    // Shown again, the focus is back on «Скачать».
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.Button1);
}

} // namespace
