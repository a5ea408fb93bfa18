#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

class QAction;

namespace toolkit {

class Menu;

class MenuItem final {
public:
    MenuItem(Menu& menu, const QString& caption);
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    QString caption() const;
    // Keys that choose it while its window is active; the menu shows the first one.
    void setShortcuts(const QList<QKeySequence>& keys);
    // Chooses it as the user would, running onClick.
    void click();

    std::function<void()> onClick;

private:
    QAction* m_action;
};

} // namespace toolkit
