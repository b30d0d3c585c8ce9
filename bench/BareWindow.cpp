// The baseline that startup.sh measures the editor's start-up against: a Qt
// Widgets program that shows one window titled "Bare window" holding one label,
// like the toolkit's own "hello world". With --no-text the window is empty; Qt then
// never loads its font database (fontconfig) before the window is shown, which
// any window with a caption, a menu or a label has to.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool noText = argc > 1 && std::strcmp(argv[1], "--no-text") == 0;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(640, 480);
    if (!noText)
        new QLabel(QStringLiteral("Hello world"), &window);
    window.show();
    return app.exec();
}
