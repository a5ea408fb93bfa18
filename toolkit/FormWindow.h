#pragma once

#include <QWidget>
#include <functional>

class QKeySequence;
class QMenuBar;
class QPushButton;

namespace toolkit {

class Form;

// The Qt window of a form: an optional menu bar above a client area that holds the controls.
// It hands size, state and close events to its form, and Enter and Escape to the form's
// default and cancel buttons.
class FormWindow final : public QWidget {
public:
    explicit FormWindow(Form& form);

    QWidget* client() const { return m_client; }
    QMenuBar* menuBar();
    int menuBarHeight() const;
    void layoutClient();

    // The button must be a command button's.
    void setDefaultButton(QWidget* button);
    void setCancelButton(QWidget* button);
    void addShortcut(const QKeySequence& key, std::function<void()> action);
    bool hasDefaultButton() const { return m_defaultButton != nullptr; }
    bool hasCancelButton() const { return m_cancelButton != nullptr; }

    void detach() { m_form = nullptr; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Form* m_form;
    QWidget* m_client;
    QMenuBar* m_menuBar = nullptr;
    QPushButton* m_defaultButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace toolkit
