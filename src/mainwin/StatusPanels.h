#pragma once
// The main window's status bar: three text panels of fixed width, left to right.

#include <QStatusBar>

#include <array>

class QLabel;

namespace luvir {

class StatusPanels : public QStatusBar
{
    Q_OBJECT
public:
    explicit StatusPanels(QWidget *parent = nullptr);

    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;

private:
    std::array<QLabel *, 3> m_panels{};
};

} // namespace luvir
