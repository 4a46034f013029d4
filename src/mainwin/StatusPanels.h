#pragma once
// The main window's status bar: three text panels of fixed width, left to right. The
// panels keep their widths whatever the window's width: a window narrower than the
// three of them cuts the last ones off instead of growing to fit them.

#include <QStatusBar>

#include <array>

class QLabel;

namespace luvir {

class StatusPanels : public QStatusBar
{
    Q_OBJECT
public:
    // Widths of panels 0, 1 and 2 in pixels.
    static constexpr std::array<int, 3> kPanelWidths{300, 600, 100};

    explicit StatusPanels(QWidget *parent = nullptr);

    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;
    // The label that shows `panel`, for checks of its place and size.
    const QLabel *panel(int panel) const;

private:
    std::array<QLabel *, 3> m_panels{};
};

} // namespace luvir
