#pragma once
// The splash window shown for three seconds at start-up.

#include <QDialog>

class QLabel;
class QTimer;

// TForm3: the borderless splash window with the banner.
class TForm3 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    QLabel *Image1 = nullptr; // the 400 x 78 banner, unscaled from the top-left
    QTimer *Timer1 = nullptr; // 3000 ms, started when the window is shown

    void FormShow();
    void Timer1Timer();

    // Does nothing: the splash has no way out but its timer.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
};
