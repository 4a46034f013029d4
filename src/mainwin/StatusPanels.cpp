#include "StatusPanels.h"

#include <QLabel>

namespace luvir {

StatusPanels::StatusPanels(QWidget *parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(true);
    const int widths[] = {300, 600, 100};
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        auto *label = new QLabel(this);
        label->setFixedWidth(widths[i]);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        m_panels[i] = label;
        addWidget(label);
    }
}

void StatusPanels::setPanelText(int panel, const QString &text)
{
    QLabel *label = m_panels.at(static_cast<std::size_t>(panel));
    label->setText(text);
    label->repaint(); // seen at once, also while a download holds the event loop
}

QString StatusPanels::panelText(int panel) const
{
    return m_panels.at(static_cast<std::size_t>(panel))->text();
}

} // namespace luvir
