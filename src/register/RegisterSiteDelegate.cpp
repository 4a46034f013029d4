#include "RegisterSiteDelegate.h"

#include <QKeyEvent>

namespace luvir {

RegisterSiteDelegate::RegisterSiteDelegate(QObject *parent, std::function<void()> entered)
    : QStyledItemDelegate(parent)
    , m_entered(std::move(entered))
{
}

bool RegisterSiteDelegate::eventFilter(QObject *editor, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && qobject_cast<QWidget *>(editor)) {
            auto *widget = static_cast<QWidget *>(editor);
            emit commitData(widget);
            emit closeEditor(widget, QAbstractItemDelegate::NoHint);
            if (m_entered)
                m_entered();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

} // namespace luvir
