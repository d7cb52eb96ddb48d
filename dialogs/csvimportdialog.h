#pragma once

#include "formats/csvimport.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;

// The choices of a CSV results import: the tournament name (with "{season}" and "{division}") and
// the day the seasons start, July 1 unless changed. An example line shows the name a match of
// August 10, 2019 would get.
class CsvImportDialog : public QDialog
{
    Q_OBJECT

public:
    // fileName: the file being imported, the division when it has no division column.
    explicit CsvImportDialog(const QString &fileName, QWidget *parent = nullptr);

    CsvImportOptions options() const;

private:
    void updateExample();

    QString m_baseName;
    QLineEdit *m_tournament = nullptr;
    QDateEdit *m_seasonStart = nullptr;
    QLabel *m_example = nullptr;
};
