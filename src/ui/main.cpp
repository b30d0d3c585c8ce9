#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vellumark v0.3"));
    window.resize(508, 344);
    window.show();
    return app.exec();
}
