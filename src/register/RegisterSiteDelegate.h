#pragma once
// The editor of the register window's Участок column: Enter (or the keypad's) stores the
// label and hands on to the next row, so that a series of sites is typed without the mouse.

#include <QStyledItemDelegate>

#include <functional>

namespace luvir {

class RegisterSiteDelegate : public QStyledItemDelegate
{
public:
    // `entered` is called once a label was stored with Enter.
    RegisterSiteDelegate(QObject *parent, std::function<void()> entered);

protected:
    bool eventFilter(QObject *editor, QEvent *event) override;

private:
    std::function<void()> m_entered;
};

} // namespace luvir
