#pragma once
// Draws one prepared page as a sheet of paper at a given zoom, for the preview.

#include "PreparedReport.h"

#include <QWidget>

namespace luvir {

class ReportPageView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kBorder = 10; // grey space around the sheet, in pixels

    explicit ReportPageView(QWidget *parent = nullptr);

    void setPage(const PreparedPage *page, const QSizeF &pageSize, double zoom);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const PreparedPage *m_page = nullptr;
    QSizeF m_pageSize;
    double m_zoom = 1.0;
};

} // namespace luvir
