#pragma once
// The About window: the device's model name and the program's version.

#include <QDialog>

class QLabel;

// TForm4: the About window, shown modally at the screen's top-left corner.
class TForm4 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr; // the model name
    QLabel *Label2 = nullptr; // the version text
    QLabel *Label3 = nullptr; // what the program is for
};
