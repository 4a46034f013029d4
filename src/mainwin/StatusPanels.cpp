#include "StatusPanels.h"

#include <QLabel>

namespace luvir {

namespace {

// Holds the panels side by side at their own widths. It asks for no width of its own,
// so the status bar never makes the window wider; what does not fit is clipped.
class PanelStrip : public QWidget
{
public:
    using QWidget::QWidget;

    QSize sizeHint() const override { return {0, stripHeight()}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

    void place(QLabel *label, int x, int width)
    {
        label->setParent(this);
        label->setGeometry(x, 0, width, stripHeight());
    }

protected:
    void resizeEvent(QResizeEvent *) override
    {
        for (QObject *child : children())
            if (auto *label = qobject_cast<QLabel *>(child))
                label->resize(label->width(), height());
    }

private:
    int stripHeight() const { return fontMetrics().height() + 4; }
};

} // namespace

StatusPanels::StatusPanels(QWidget *parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(true);
    auto *strip = new PanelStrip(this);
    strip->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    int x = 0;
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        auto *label = new QLabel;
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        strip->place(label, x, kPanelWidths[i]);
        x += kPanelWidths[i];
        m_panels[i] = label;
    }
    addWidget(strip, 1);
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

const QLabel *StatusPanels::panel(int panel) const
{
    return m_panels.at(static_cast<std::size_t>(panel));
}

} // namespace luvir
