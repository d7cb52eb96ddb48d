#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Scorewright"));
    QCoreApplication::setApplicationName(QStringLiteral("Scorewright"));
    MainWindow window;
    window.show();
    return app.exec();
}
