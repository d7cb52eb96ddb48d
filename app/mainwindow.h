#pragma once

#include <QMainWindow>

// Placeholder window until the real one is built.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
};
