#include "MainWindowFixture.h"
#include "StatusPanels.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

using namespace luvir;
using luvir::test::MainWindowTest;

namespace {

struct Commands {
    QList<QAction *> archiveItems;
    QList<QToolButton *> archiveButtons;
    QList<QAction *> alwaysItems;
    QList<QToolButton *> alwaysButtons;
};

Commands commandsOf(TForm1 &w)
{
    return {{w.N3, w.N4, w.N6, w.N11, w.N14},
            {w.ToolButton3, w.ToolButton6, w.ToolButton8},
            {w.N2, w.N8, w.N13, w.N10, w.N15},
            {w.ToolButton1, w.ToolButton2, w.ToolButton9}};
}

void expectArchiveCommands(TForm1 &w, bool enabled)
{
    const Commands c = commandsOf(w);
    for (QAction *a : c.archiveItems)
        EXPECT_EQ(a->isEnabled(), enabled) << a->text().toStdString();
    for (QToolButton *b : c.archiveButtons)
        EXPECT_EQ(b->isEnabled(), enabled) << b->objectName().toStdString();
    for (QAction *a : c.alwaysItems)
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    for (QToolButton *b : c.alwaysButtons)
        EXPECT_TRUE(b->isEnabled());
    EXPECT_EQ(!w.StringGrid1->isHidden(), enabled);
}

} // namespace

TEST_F(MainWindowTest, StartsWithoutAnArchive)
{
    expectArchiveCommands(*window, false);
    EXPECT_EQ(window->windowTitle(), "ЛЮВИР-2.07");
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowTest, EnableAndDisableSetEveryCommandWhateverItWas)
{
    window->EnableArchiveCommands();
    window->EnableArchiveCommands();
    expectArchiveCommands(*window, true);
    window->N4->setEnabled(false);
    window->EnableArchiveCommands();
    expectArchiveCommands(*window, true);
    window->DisableArchiveCommands();
    window->DisableArchiveCommands();
    expectArchiveCommands(*window, false);
}

TEST_F(MainWindowTest, OnlyTheFirstThreeButtonsShowTooltips)
{
    EXPECT_EQ(window->ToolButton1->toolTip(), "Загрузка данных из прибора");
    EXPECT_EQ(window->ToolButton2->toolTip(), "Открыть архив");
    EXPECT_EQ(window->ToolButton3->toolTip(), "Сохранить архив");
    for (QToolButton *b : {window->ToolButton6, window->ToolButton8, window->ToolButton9})
        EXPECT_TRUE(b->toolTip().isEmpty());
    for (QToolButton *b : {window->ToolButton1, window->ToolButton2, window->ToolButton3, window->ToolButton6,
                           window->ToolButton8, window->ToolButton9}) {
        EXPECT_EQ(b->width(), 30);
        EXPECT_FALSE(b->icon().isNull());
    }
}

TEST_F(MainWindowTest, StatusBarHasThreePanelsOfFixedWidth)
{
    window->setStatus("x");
    EXPECT_EQ(window->statusText(0), "x");
    EXPECT_EQ(window->statusText(1), "");
    EXPECT_EQ(window->statusText(2), "");

    // Side by side at 300, 600 and 100 pixels, whatever the window's width.
    const int width[] = {300, 600, 100};
    for (int windowWidth : {1200, 697, 300}) {
        window->resize(windowWidth, 400);
        int left = window->StatusBar1->panel(0)->x();
        for (int i = 0; i < 3; ++i) {
            const QLabel *panel = window->StatusBar1->panel(i);
            EXPECT_EQ(panel->width(), width[i]) << windowWidth << " panel " << i;
            EXPECT_EQ(panel->x(), left) << windowWidth << " panel " << i;
            left += width[i];
        }
    }
}

TEST_F(MainWindowTest, HelpFileLivesBesideTheExecutableWhateverTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    TForm1 other;
    QDir::setCurrent(previous);
    EXPECT_EQ(TForm1::helpFile(), QDir(QCoreApplication::applicationDirPath()).filePath("luvir.chm"));
}

TEST_F(MainWindowTest, HelpOpensTheRecordedHelpFileOnlyWhenItIsThere)
{
    // A help file of this test's own, so that no other test's file is touched.
    const QString help = path("luvir.chm");
    TForm1::setHelpFile(help);
    QList<QUrl> opened;
    TForm1::setDocumentOpener([&](const QUrl &url) {
        opened << url;
        return true;
    });
    window->N10->trigger();
    window->ToolButton9->click();
    EXPECT_TRUE(opened.isEmpty()) << "no help file: nothing is asked and nothing shown";
    EXPECT_TRUE(dialogs.shown.isEmpty());

    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    window->N10->trigger();
    window->ToolButton9->click();
    TForm1::setDocumentOpener(nullptr);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(help));
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(MainWindowTest, ColumnsShareTheWidthOfTheTable)
{
    openSample(3);
    const struct {
        int width, column;
    } cases[] = {{697, 96}, {200, 25}, {20, 0}};
    for (const auto &c : cases) {
        window->StringGrid1->resize(c.width, 300);
        window->FormResize();
        for (int col = 0; col < 7; ++col)
            EXPECT_EQ(window->StringGrid1->columnWidth(col), c.column) << c.width;
    }
}

TEST_F(MainWindowTest, AHandlerThatThrowsEndsInTheErrorBox)
{
    TForm1::setDocumentOpener([](const QUrl &) -> bool { throw std::runtime_error("сбой оболочки"); });
    const QString help = path("luvir.chm");
    TForm1::setHelpFile(help);
    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    window->N10->trigger();
    TForm1::setDocumentOpener(nullptr);
    EXPECT_EQ(dialogs.errors(), QStringList{"сбой оболочки"});
    EXPECT_EQ(dialogs.shown.constFirst().caption, "ЛЮВИР-2.07");
}

// On a screen scaled by 150 %, 200 % or 300 % each toolbar image is drawn from its drawing
// for that size, not stretched from the 16-pixel one; 16 × 16 stays its size on the toolbar.
TEST_F(MainWindowTest, ToolbarImagesAreSharpOnScaledScreens)
{
    const struct {
        QToolButton *button;
        const char *image;
    } buttons[] = {{window->ToolButton1, "download"}, {window->ToolButton2, "open"},
                   {window->ToolButton3, "save"},     {window->ToolButton8, "delete"},
                   {window->ToolButton6, "print"},    {window->StatisticsButton, "stats"},
                   {window->ToolButton9, "help"}};
    const struct {
        qreal scale;
        const char *suffix;
        int pixels;
    } scales[] = {{1.0, "", 16}, {1.5, "@1.5x", 24}, {2.0, "@2x", 32}, {3.0, "@3x", 48}};
    const auto pixelsOf = [](const QImage &image) { return image.convertToFormat(QImage::Format_ARGB32_Premultiplied); };
    EXPECT_EQ(window->ToolBar1->iconSize(), QSize(16, 16));
    for (const auto &b : buttons) {
        for (const auto &s : scales) {
            const QImage drawn(QStringLiteral(":/mainwin/icons/%1%2.png").arg(b.image, s.suffix));
            ASSERT_EQ(drawn.size(), QSize(s.pixels, s.pixels)) << b.image << s.suffix;
            const QPixmap shown = b.button->icon().pixmap(QSize(16, 16), s.scale);
            EXPECT_EQ(shown.deviceIndependentSize(), QSizeF(16, 16)) << b.image << " at " << s.scale;
            EXPECT_EQ(pixelsOf(shown.toImage()), pixelsOf(drawn)) << b.image << " at " << s.scale;
        }
    }
}
