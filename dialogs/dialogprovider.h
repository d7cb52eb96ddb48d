#pragma once

#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

// Every modal question the main window and its dialogs put to the user goes through this seam, so
// that tests can answer without a native dialog or a nested event loop.
class DialogProvider
{
public:
    virtual ~DialogProvider() = default;

    // An empty answer means the user cancelled.
    virtual QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter) = 0;
    virtual QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter) = 0;
    virtual QString getExistingDirectory(QWidget *parent, const QString &caption,
                                         const QString &dir) = 0;

    virtual QMessageBox::StandardButton question(QWidget *parent, const QString &title,
                                                 const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) = 0;
    virtual void information(QWidget *parent, const QString &title, const QString &text) = 0;
    virtual void warning(QWidget *parent, const QString &title, const QString &text) = 0;
    virtual void about(QWidget *parent, const QString &title, const QString &text) = 0;

    // A pop-up menu of labels at a global position; the index of the chosen entry, or -1.
    virtual int chooseMenuEntry(QWidget *parent, const QStringList &labels,
                                const QPoint &globalPos) = 0;
    // Runs a dialog modally and returns its result code (QDialog::Accepted or Rejected).
    virtual int exec(QDialog &dialog) = 0;
    // One of items, chosen from a list; empty when the user cancelled. The standard choice is
    // Qt's item dialog.
    virtual QString chooseItem(QWidget *parent, const QString &title, const QString &label,
                               const QStringList &items);
    // A question answered by one of buttons, labelled as given; the index of the one pressed,
    // or -1 when the box was closed. The last button is the one Escape presses. The standard
    // choice is a message box.
    virtual int choose(QWidget *parent, const QString &title, const QString &text,
                       const QStringList &buttons);
    // A file to save to, with a check box labelled optionLabel under the file list; option is its
    // state on the way in and the user's choice on the way out. The standard choice is Qt's own
    // file dialog; without one of its own a provider asks getSaveFileName and leaves option alone.
    virtual QString getSaveFileNameWithOption(QWidget *parent, const QString &caption,
                                              const QString &dir, const QString &filter,
                                              const QString &optionLabel, bool &option);
};

// The real thing: Qt's standard file dialogs, message boxes and menus.
class StandardDialogProvider : public DialogProvider
{
public:
    QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                            const QString &filter) override;
    QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                            const QString &filter) override;
    QString getExistingDirectory(QWidget *parent, const QString &caption,
                                 const QString &dir) override;
    QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override;
    void information(QWidget *parent, const QString &title, const QString &text) override;
    void warning(QWidget *parent, const QString &title, const QString &text) override;
    void about(QWidget *parent, const QString &title, const QString &text) override;
    int chooseMenuEntry(QWidget *parent, const QStringList &labels,
                        const QPoint &globalPos) override;
    int exec(QDialog &dialog) override;
    QString getSaveFileNameWithOption(QWidget *parent, const QString &caption, const QString &dir,
                                      const QString &filter, const QString &optionLabel,
                                      bool &option) override;
};
