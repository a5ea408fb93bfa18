#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace toolkit {

namespace {
    std::function<void(const MessageBox::Request&)>& answerer()
    {
        static std::function<void(const MessageBox::Request&)> instance;
        return instance;
    }
}

void MessageBox::show(const QString& text, const QString& title, int style)
{
    if (answerer()) {
        answerer()(Request { text, title, style });
        return;
    }
    QMessageBox box(style == Information ? QMessageBox::Information : QMessageBox::NoIcon, title,
        text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void MessageBox::setAnswerer(std::function<void(const Request&)> fn) { answerer() = std::move(fn); }

} // namespace toolkit
