#include "toolkit/MenuItem.h"

#include "toolkit/Menu.h"

#include <QAction>
#include <QMenu>

namespace toolkit {

MenuItem::MenuItem(Menu& menu, const QString& caption)
    : m_action(menu.menu()->addAction(caption))
{
    QObject::connect(m_action, &QAction::triggered, m_action, [this] {
        if (onClick)
            onClick();
    });
}

MenuItem::~MenuItem() { QObject::disconnect(m_action, nullptr, m_action, nullptr); }

QString MenuItem::caption() const { return m_action->text(); }

void MenuItem::setShortcuts(const QList<QKeySequence>& keys)
{
    m_action->setShortcuts(keys);
    m_action->setAutoRepeat(false);
}

void MenuItem::click() { m_action->trigger(); }

} // namespace toolkit
