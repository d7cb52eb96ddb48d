#include "dialogs/find.h"

#include "strings/texts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>

Find::Find(QWidget *parent) : QDialog(parent)
{
    const Texts &t = texts();
    setObjectName(QStringLiteral("Find"));
    setWindowTitle(t.findButton);
    resize(373, 88);

    m_label = new QLabel(t.findLabel, this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setGeometry(10, 20, 71, 21);
    QFont font = m_label->font();
    font.setPointSize(8);
    m_label->setFont(font);

    m_lineEdit = new QLineEdit(this);
    m_lineEdit->setObjectName(QStringLiteral("lineEdit"));
    m_lineEdit->setGeometry(110, 20, 251, 21);
    m_label->setBuddy(m_lineEdit);

    m_buttonBox =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_buttonBox->setGeometry(10, 50, 341, 32);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &Find::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &Find::reject);

    m_lineEdit->setFocus();
}

void Find::accept()
{
    m_searchText = m_lineEdit->text();
    QDialog::accept();
}
