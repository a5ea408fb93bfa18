// The reference for the start-up benchmark: a bare Qt Widgets window of the main window's size
// holding two line edits, and nothing else.
#include <QApplication>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Reference"));
    window.resize(266, 71);
    auto* first = new QLineEdit(&window);
    first->setGeometry(64, 8, 137, 19);
    auto* second = new QLineEdit(&window);
    second->setGeometry(64, 40, 137, 19);
    window.show();
    return app.exec();
}
