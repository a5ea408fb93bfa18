#include "toolkit/Menu.h"

#include "toolkit/Form.h"
#include "toolkit/FormWindow.h"

#include <QMenu>
#include <QMenuBar>

namespace toolkit {

Menu::Menu(Form& form, const QString& caption)
    : m_menu(form.window()->menuBar()->addMenu(caption))
{
    if (form.window()->menuBar()->actions().size() == 1)
        form.menuBarAdded();
}

QString Menu::caption() const { return m_menu->title(); }

} // namespace toolkit
