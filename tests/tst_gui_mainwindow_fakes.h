#pragma once

// A dialog provider that answers from a script and records what it was asked, and helpers that
// start a window on a given database with settings private to this test process.

#include "app/mainwindow.h"
#include "app/settings.h"
#include "formats/database.h"

#include <QCoreApplication>
#include <QDialog>
#include <QSettings>
#include <QStandardPaths>

#include <functional>
#include <memory>
#include <optional>

class FakeDialogs : public DialogProvider
{
public:
    struct Call
    {
        QString kind, title, text; // kind: "open", "save", "directory", "question", "warning" ...
    };
    // Answers, taken in order; an exhausted list answers "cancelled".
    QStringList fileAnswers;
    QList<QMessageBox::StandardButton> questionAnswers;
    int menuAnswer = -1;
    QStringList lastMenu;
    QList<Call> calls;
    QStringList kinds; // the kind of each call

    using S = const QString &;
    QString getOpenFileName(QWidget *, S c, S, S f) override { return file(u"open", c, f); }
    QString getSaveFileName(QWidget *, S c, S, S f) override { return file(u"save", c, f); }
    QString getExistingDirectory(QWidget *, S c, S) override { return file(u"directory", c, {}); }
    // The save dialog's check box: ticked or cleared when set, else left as the window set it.
    std::optional<bool> saveOptionAnswer;
    QString getSaveFileNameWithOption(QWidget *, S c, S, S f, S, bool &option) override
    {
        if (saveOptionAnswer)
            option = *saveOptionAnswer;
        return file(u"save", c, f);
    }
    QMessageBox::StandardButton question(QWidget *, S title, S text, QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override
    {
        note(u"question", title, text);
        return questionAnswers.isEmpty() ? QMessageBox::Cancel : questionAnswers.takeFirst();
    }
    void information(QWidget *, S title, S text) override { note(u"information", title, text); }
    void warning(QWidget *, S title, S text) override { note(u"warning", title, text); }
    void about(QWidget *, S title, S text) override { note(u"about", title, text); }
    int chooseMenuEntry(QWidget *, const QStringList &labels, const QPoint &) override
    {
        note(u"menu", {}, labels.join(QLatin1Char('|')));
        lastMenu = labels;
        return menuAnswer;
    }
    // Plays the user's part in a dialog and returns its result; unset: the dialog is cancelled.
    std::function<int(QDialog &)> onExec;
    int exec(QDialog &dialog) override
    {
        note(u"dialog", {}, {});
        return onExec ? onExec(dialog) : int(QDialog::Rejected);
    }
    QStringList itemAnswers;
    QStringList lastItems;
    QString chooseItem(QWidget *, S title, S label, const QStringList &items) override
    {
        note(u"item", title, label);
        lastItems = items;
        return itemAnswers.isEmpty() ? QString() : itemAnswers.takeFirst();
    }

    // Answers to the questions with buttons of their own: the index of the button pressed.
    QList<int> choiceAnswers;
    QStringList lastChoices;
    int choose(QWidget *, S title, S text, const QStringList &buttons) override
    {
        note(u"choice", title, text);
        lastChoices = buttons;
        return choiceAnswers.isEmpty() ? -1 : choiceAnswers.takeFirst();
    }

    // The texts of the warnings shown, in order.
    QStringList warnings() const
    {
        QStringList texts;
        for (const Call &call : calls)
            if (call.kind == u"warning")
                texts << call.text;
        return texts;
    }

private:
    void note(QStringView kind, S title, S text)
    {
        calls.append({kind.toString(), title, text});
        kinds.append(kind.toString());
    }
    QString file(QStringView kind, S caption, S filter)
    {
        note(kind, caption, filter);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};
// Settings under home (a fresh directory): tests running side by side never share settings, and
// none touches the user's.
inline void isolateSettings(const QString &home)
{
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
}

inline QSettings testSettings()
{
    return AppSettings::open();
}

// The settings the next window starts from: "data" set to path, or no key when path is null.
inline void setStartDatabase(const QString &path)
{
    QSettings settings = testSettings();
    settings.clear();
    if (!path.isNull())
        settings.setValue(AppSettings::DataKey, path);
}

inline QString settingsData()
{
    return testSettings().value(AppSettings::DataKey).toString();
}

inline std::unique_ptr<MainWindow> startWindow(const QString &database, FakeDialogs &dialogs)
{
    setStartDatabase(database);
    return std::make_unique<MainWindow>(&dialogs);
}
