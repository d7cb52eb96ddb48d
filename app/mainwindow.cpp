#include "app/mainwindow.h"

#include "strings/texts.h"

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(texts().windowTitle);
}
