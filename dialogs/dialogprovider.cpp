#include "dialogs/dialogprovider.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>

QString StandardDialogProvider::getOpenFileName(QWidget *parent, const QString &caption,
                                                const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString StandardDialogProvider::getSaveFileName(QWidget *parent, const QString &caption,
                                                const QString &dir, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString StandardDialogProvider::getExistingDirectory(QWidget *parent, const QString &caption,
                                                     const QString &dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

QMessageBox::StandardButton
StandardDialogProvider::question(QWidget *parent, const QString &title, const QString &text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::question(parent, title, text, buttons, defaultButton);
}

void StandardDialogProvider::information(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

void StandardDialogProvider::warning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

void StandardDialogProvider::about(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::about(parent, title, text);
}

int StandardDialogProvider::chooseMenuEntry(QWidget *parent, const QStringList &labels,
                                            const QPoint &globalPos)
{
    QMenu menu(parent);
    QList<QAction *> actions;
    actions.reserve(labels.size());
    for (const QString &label : labels)
        actions.append(menu.addAction(label));
    QAction *chosen = menu.exec(globalPos);
    return chosen ? int(actions.indexOf(chosen)) : -1;
}

int StandardDialogProvider::exec(QDialog &dialog)
{
    return dialog.exec();
}

QString DialogProvider::chooseItem(QWidget *parent, const QString &title, const QString &label,
                                   const QStringList &items)
{
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, title, label, items, 0, false, &ok);
    return ok ? item : QString();
}

int DialogProvider::choose(QWidget *parent, const QString &title, const QString &text,
                           const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> added;
    for (qsizetype i = 0; i < buttons.size(); ++i)
        added.append(box.addButton(buttons.at(i), i + 1 == buttons.size()
                                                      ? QMessageBox::RejectRole
                                                      : QMessageBox::AcceptRole));
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(added.constFirst()));
        box.setEscapeButton(added.constLast());
    }
    box.exec();
    return int(added.indexOf(box.clickedButton()));
}

QString DialogProvider::getSaveFileNameWithOption(QWidget *parent, const QString &caption,
                                                  const QString &dir, const QString &filter,
                                                  const QString & /*optionLabel*/,
                                                  bool & /*option*/)
{
    return getSaveFileName(parent, caption, dir, filter);
}

QString StandardDialogProvider::getSaveFileNameWithOption(QWidget *parent, const QString &caption,
                                                          const QString &dir, const QString &filter,
                                                          const QString &optionLabel, bool &option)
{
    // Qt's own dialog, since a native one takes no widgets of ours.
    QFileDialog dialog(parent, caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *box = new QCheckBox(optionLabel, &dialog);
    box->setObjectName(QStringLiteral("saveOption"));
    box->setChecked(option);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    else
        box->hide();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    option = box->isChecked();
    return dialog.selectedFiles().constFirst();
}
