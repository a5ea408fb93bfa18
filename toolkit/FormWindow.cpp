#include "toolkit/FormWindow.h"

#include "toolkit/Accessibility.h"
#include "toolkit/Form.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

namespace toolkit {

FormWindow::FormWindow(Form& form)
    : QWidget(nullptr)
    , m_form(&form)
    , m_client(new QWidget(this))
{
    Accessibility::install();
}

QMenuBar* FormWindow::menuBar()
{
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(this);
        layoutClient();
    }
    return m_menuBar;
}

int FormWindow::menuBarHeight() const { return m_menuBar ? m_menuBar->sizeHint().height() : 0; }

void FormWindow::setDefaultButton(QWidget* button)
{
    m_defaultButton = static_cast<QPushButton*>(button);
    m_defaultButton->setDefault(true);
}

void FormWindow::setCancelButton(QWidget* button)
{
    m_cancelButton = static_cast<QPushButton*>(button);
}

void FormWindow::addShortcut(const QKeySequence& key, std::function<void()> action)
{
    auto* shortcut = new QShortcut(key, this);
    shortcut->setAutoRepeat(false);
    QObject::connect(shortcut, &QShortcut::activated, shortcut, std::move(action));
}

void FormWindow::layoutClient()
{
    const int bar = menuBarHeight();
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, width(), bar);
    m_client->setGeometry(0, bar, width(), std::max(0, height() - bar));
}

void FormWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutClient();
    if (m_form)
        m_form->windowGeometryChanged();
}

void FormWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (m_form)
        m_form->windowGeometryChanged();
}

void FormWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_form)
        m_form->windowStateChanged();
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    // The form decides; when it unloads it hides and releases this window itself.
    event->ignore();
    if (m_form)
        m_form->unload();
}

void FormWindow::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter || event->key() == Qt::Key_Escape) {
        QPushButton* button = enter ? m_defaultButton : m_cancelButton;
        // Enter on another button clicks that one.
        if (enter && focusWidget())
            if (auto* focused = dynamic_cast<QPushButton*>(focusWidget()))
                button = focused;
        if (button) {
            event->accept();
            button->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

} // namespace toolkit
