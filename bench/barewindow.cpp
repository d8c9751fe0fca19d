// The yardstick of the start-up benchmark: the least a Qt Widgets program does
// to show a window of the editor's size (792 x 544 logical pixels).
//
// With the argument --text the window holds one line of text as well, which
// tells the cost of drawing any text (finding the system's fonts, loading a
// face) apart from the cost of the editor's own controls.
#include "firstpaintexit.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(792, 544);
    if (argc > 1 && qstrcmp(argv[1], "--text") == 0)
        new QLabel(QStringLiteral("This will replace any tanks.cfg file in your updates folder."),
                   &window);
    brinevar::FirstPaintExit::InstallIfAsked(&window);
    window.show();
    return app.exec();
}
