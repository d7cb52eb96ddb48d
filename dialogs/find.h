#pragma once

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

// The person search: asks for (part of) a surname. The caller reads searchText() after an OK;
// it stays null when the dialog was cancelled.
class Find : public QDialog
{
    Q_OBJECT
public:
    explicit Find(QWidget *parent = nullptr);

    // The text as typed (no trimming: blanks are a valid search).
    const QString &searchText() const { return m_searchText; }

public Q_SLOTS:
    void accept() override;

private:
    QLabel *m_label = nullptr;
    QLineEdit *m_lineEdit = nullptr;
    QDialogButtonBox *m_buttonBox = nullptr;
    QString m_searchText;
};
