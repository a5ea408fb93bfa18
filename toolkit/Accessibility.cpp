#include "toolkit/Accessibility.h"

#include "toolkit/FormWindow.h"
#include "toolkit/PictureBoxWidget.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <utility>

namespace toolkit {

namespace {

    class ImageButtonAccessible final : public QAccessibleWidget {
    public:
        explicit ImageButtonAccessible(PictureBoxWidget* box)
            : QAccessibleWidget(box, QAccessible::Button)
        {
        }

        QAccessible::State state() const override
        {
            QAccessible::State state = QAccessibleWidget::state();
            state.pressed = box()->isDown();
            return state;
        }

        // The first action is the default one.
        QStringList actionNames() const override
        {
            return QStringList { pressAction() } + QAccessibleWidget::actionNames();
        }

        void doAction(const QString& action) override
        {
            if (action == pressAction())
                box()->click();
            else
                QAccessibleWidget::doAction(action);
        }

    private:
        PictureBoxWidget* box() const { return static_cast<PictureBoxWidget*>(widget()); }
    };

    // Qt names a drop-down list on Linux by its chosen item; here the name is the list's own
    // or its label's, and the chosen item is its value.
    class DropDownListAccessible final : public QAccessibleWidget {
    public:
        explicit DropDownListAccessible(QComboBox* combo)
            : QAccessibleWidget(combo, QAccessible::ComboBox)
        {
        }

        QString text(QAccessible::Text text) const override
        {
            return text == QAccessible::Value ? combo()->currentText()
                                              : QAccessibleWidget::text(text);
        }

        // The list that drops down.
        int childCount() const override { return 1; }
        QAccessibleInterface* child(int index) const override
        {
            return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
        }
        int indexOfChild(const QAccessibleInterface* child) const override
        {
            return child && child->object() == combo()->view() ? 0 : -1;
        }

        QStringList actionNames() const override
        {
            return QStringList { showMenuAction() } + QAccessibleWidget::actionNames();
        }

        void doAction(const QString& action) override
        {
            if (action == showMenuAction())
                combo()->showPopup();
            else
                QAccessibleWidget::doAction(action);
        }

    private:
        QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
    };

    QAccessibleInterface* interfaceFor(const QString&, QObject* object)
    {
        if (auto* box = dynamic_cast<PictureBoxWidget*>(object))
            return new ImageButtonAccessible(box);
        if (auto* window = dynamic_cast<FormWindow*>(object)) {
            const bool dialog = window->windowType() == Qt::Dialog;
            return new QAccessibleWidget(
                window, dialog ? QAccessible::Dialog : QAccessible::Window);
        }
        auto* combo = qobject_cast<QComboBox*>(object);
        if (combo && !combo->isEditable())
            return new DropDownListAccessible(combo);
        return nullptr;
    }

} // namespace

void Accessibility::install()
{
    static bool installed = false;
    if (!std::exchange(installed, true))
        QAccessible::installFactory(interfaceFor);
}

} // namespace toolkit
