#pragma once

#include <QString>

class QMenu;

namespace toolkit {

class Form;

// A menu of a form's menu bar.
class Menu final {
public:
    Menu(Form& form, const QString& caption);

    QString caption() const;
    QMenu* menu() const { return m_menu; }

private:
    QMenu* m_menu;
};

} // namespace toolkit
