#include "BarValueMarks.h"

#include <QtCharts/QBarSeries>
#include <QtCharts/QChart>

#include <QBrush>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QLocale>
#include <QPen>

namespace luvir {

namespace {

constexpr qreal kPointerLength = 5.0;
constexpr qreal kPadding = 2.0;
constexpr qreal kMarksZ = 1000.0; // above the series, the axes and the legend
constexpr qreal kMarkGap = 2.0; // free space between two marks side by side

} // namespace

BarValueMarks::BarValueMarks(QChart *chart, QBarSeries *series)
    : QObject(chart)
    , m_chart(chart)
    , m_series(series)
{
    connect(chart, &QChart::plotAreaChanged, this, &BarValueMarks::place);
}

BarValueMarks::~BarValueMarks() = default; // the items go with the chart

void BarValueMarks::clearMarks()
{
    qDeleteAll(m_marks);
    qDeleteAll(m_pointers);
    m_marks.clear();
    m_pointers.clear();
}

void BarValueMarks::setValues(const QList<double> &values)
{
    clearMarks();
    m_values = values;
    const QLocale locale = m_chart->locale();
    for (double value : std::as_const(m_values)) {
        auto *box = new QGraphicsRectItem(m_chart);
        box->setBrush(QColor(Qt::white));
        box->setPen(QPen(QColor(Qt::gray), 0));
        auto *text = new QGraphicsSimpleTextItem(locale.toString(value, 'f', 1), box);
        text->setFont(m_chart->font());
        text->setBrush(QColor(Qt::black));
        const QRectF textRect = text->boundingRect();
        box->setRect(textRect.adjusted(-kPadding, -kPadding / 2, kPadding, kPadding / 2));
        box->setZValue(kMarksZ);
        m_marks.append(box);

        auto *pointer = new QGraphicsLineItem(m_chart);
        pointer->setPen(QPen(QColor(Qt::gray), 0));
        pointer->setZValue(kMarksZ);
        m_pointers.append(pointer);
    }
    place();
    // Once the chart has laid out its axes for the new values, place the marks again.
    QMetaObject::invokeMethod(this, &BarValueMarks::place, Qt::QueuedConnection);
}

QStringList BarValueMarks::texts() const
{
    QStringList result;
    if (!m_shown)
        return result;
    for (QGraphicsItem *mark : m_marks)
        for (QGraphicsItem *child : mark->childItems())
            if (auto *text = dynamic_cast<QGraphicsSimpleTextItem *>(child))
                result << text->text();
    return result;
}

QList<QRectF> BarValueMarks::rects() const
{
    QList<QRectF> result;
    if (!m_shown)
        return result;
    for (QGraphicsItem *mark : m_marks)
        result << mark->mapRectToParent(mark->boundingRect());
    return result;
}

void BarValueMarks::place()
{
    // Each mark stays within its bar's share of the plot's width, so it can cover neither
    // another mark nor another bar.
    qreal widest = 0.0;
    for (QGraphicsItem *mark : std::as_const(m_marks))
        widest = qMax(widest, mark->boundingRect().width());
    const qreal pitch = m_marks.isEmpty() ? 0.0 : m_chart->plotArea().width() / m_marks.size();
    m_shown = widest + kMarkGap <= pitch;
    for (qsizetype i = 0; i < m_marks.size(); ++i) {
        m_marks.at(i)->setVisible(m_shown);
        m_pointers.at(i)->setVisible(m_shown);
        if (!m_shown)
            continue;
        const QPointF top = m_chart->mapToPosition(QPointF(static_cast<qreal>(i), m_values.at(i)), m_series);
        auto *box = static_cast<QGraphicsRectItem *>(m_marks.at(i));
        const QRectF rect = box->rect();
        box->setPos(top.x() - rect.center().x(), top.y() - kPointerLength - rect.bottom());
        static_cast<QGraphicsLineItem *>(m_pointers.at(i))
            ->setLine(QLineF(top, top - QPointF(0, kPointerLength)));
    }
}

} // namespace luvir
