// The commands that open the report editor and the person search.

#include "app/mainwindow.h"

void MainWindow::addReport() {}

void MainWindow::editReport() {}

void MainWindow::callFindPlayer()
{
    showPage(QStringLiteral("fpl1_"), QString());
}

void MainWindow::callFindCoach()
{
    showPage(QStringLiteral("fco1_"), QString());
}

void MainWindow::findPlayer(const QString &) {}

void MainWindow::findCoach(const QString &) {}
