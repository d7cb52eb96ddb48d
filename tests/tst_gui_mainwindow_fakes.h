#pragma once

// Shared by the main window tests: a dialog provider that answers from a script and records what
// it was asked, and the helpers that start a window on a given database with isolated settings.

#include "app/mainwindow.h"
#include "model/database.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

class FakeDialogs : public DialogProvider
{
public:
    struct Call
    {
        QString kind; // "open", "save", "directory", "question", "information", "warning" ...
        QString title;
        QString text;
    };

    // Answers, taken in order; an exhausted list answers "cancelled".
    QStringList fileAnswers;
    QList<QMessageBox::StandardButton> questionAnswers;
    int menuAnswer = -1;
    QStringList lastMenu;

    QList<Call> calls;

    QStringList kinds() const
    {
        QStringList list;
        for (const Call &call : calls)
            list.append(call.kind);
        return list;
    }

    QString getOpenFileName(QWidget *, const QString &caption, const QString &,
                            const QString &filter) override
    {
        calls.append({QStringLiteral("open"), caption, filter});
        return nextFile();
    }
    QString getSaveFileName(QWidget *, const QString &caption, const QString &,
                            const QString &filter) override
    {
        calls.append({QStringLiteral("save"), caption, filter});
        return nextFile();
    }
    QString getExistingDirectory(QWidget *, const QString &caption, const QString &) override
    {
        calls.append({QStringLiteral("directory"), caption, QString()});
        return nextFile();
    }
    QMessageBox::StandardButton question(QWidget *, const QString &title, const QString &text,
                                         QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override
    {
        calls.append({QStringLiteral("question"), title, text});
        return questionAnswers.isEmpty() ? QMessageBox::Cancel : questionAnswers.takeFirst();
    }
    void information(QWidget *, const QString &title, const QString &text) override
    {
        calls.append({QStringLiteral("information"), title, text});
    }
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        calls.append({QStringLiteral("warning"), title, text});
    }
    void about(QWidget *, const QString &title, const QString &text) override
    {
        calls.append({QStringLiteral("about"), title, text});
    }
    int chooseMenuEntry(QWidget *, const QStringList &labels, const QPoint &) override
    {
        calls.append({QStringLiteral("menu"), QString(), labels.join(QLatin1Char('|'))});
        lastMenu = labels;
        return menuAnswer;
    }
    int exec(QDialog &) override
    {
        calls.append({QStringLiteral("dialog"), QString(), QString()});
        return QDialog::Rejected;
    }

private:
    QString nextFile() { return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst(); }
};

// Gives this test process settings of its own under home (a fresh directory), so that tests running
// side by side never see each other's settings, and no test touches the user's.
inline void isolateSettings(const QString &home)
{
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
}

inline QSettings testSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Scorewright"),
                     QStringLiteral("Scorewright"));
}

// The settings the next window starts from: "data" set to path, or no key at all when path is null.
inline void setStartDatabase(const QString &path)
{
    QSettings settings = testSettings();
    settings.clear();
    if (!path.isNull())
        settings.setValue(QStringLiteral("data"), path);
    settings.sync();
}

inline QString settingsData()
{
    QSettings settings = testSettings();
    settings.sync();
    return settings.value(QStringLiteral("data")).toString();
}

inline std::unique_ptr<MainWindow> startWindow(const QString &database, FakeDialogs &dialogs)
{
    setStartDatabase(database);
    return std::make_unique<MainWindow>(&dialogs);
}

inline bool writeStore(const QString &path, const MatchStore &store)
{
    return writeDatabase(path, store).ok();
}
