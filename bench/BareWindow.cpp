// The baseline that startup.sh measures the editor's start-up against: a Qt
// Widgets program that shows one window titled "Bare window" with a menu bar (one
// menu) and one label, like the toolkit's own "hello world" with a menu. With
// --no-text the window is empty; Qt then never loads its font database (fontconfig)
// before the window is shown, which any window with a caption, a menu or a label
// has to.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool noText = argc > 1 && std::strcmp(argv[1], "--no-text") == 0;
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(640, 480);
    if (!noText) {
        window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"), &app,
                                                                      &QApplication::quit);
        window.setCentralWidget(new QLabel(QStringLiteral("Hello world")));
    }
    window.show();
    return app.exec();
}
