// The floor of the start-up benchmark: the least a Qt Widgets program does to
// show text, one window of the editor's client size (792 x 544 pixels) that
// holds one label.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Window"));
    window.resize(792, 544);
    new QLabel(QStringLiteral("This will replace any tanks.cfg file in your updates folder."),
               &window);
    window.show();
    return app.exec();
}
