#include "Unit4.h"

#include "AppFonts.h"

#include <QLabel>

TForm4::TForm4(QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("О программе"));
    setSizeGripEnabled(false);
    resize(423, 114);

    auto label = [this](int x, int y, int pixelSize, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setFont(luvir::tahomaFont(pixelSize));
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    Label1 = label(16, 16, 19, QStringLiteral("ЛЮВИР-2.07"));
    Label2 = label(16, 56, 13, QStringLiteral("Версия: 1.0.0.1"));
    Label3 = label(16, 88, 13, QStringLiteral("Программа для передачи данных с приборп ЛЮВИР-2.07"));

    // First shown at the top-left corner; later showings keep where the user put it.
    move(0, 0);
}
