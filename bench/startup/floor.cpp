// The smallest Qt Widgets program: what any Qt window costs before it does anything.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Zorvat"));
    label.show();
    return app.exec();
}
