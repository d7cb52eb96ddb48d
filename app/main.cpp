#include "app/mainwindow.h"
#include "app/settings.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(AppSettings::Name);
    QCoreApplication::setApplicationName(AppSettings::Name);
    QCoreApplication::setApplicationVersion(QStringLiteral(SCOREWRIGHT_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("scorewright"));

    // The program speaks Russian; Qt's own buttons and dialogs follow it when its translation is
    // installed (Debian: qt6-translations-l10n), and stay in English otherwise.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    // A database named on the command line (as a double-clicked .swb file is) opens at start.
    const QStringList arguments = QCoreApplication::arguments();
    const QString startFile = arguments.size() > 1 ? arguments.at(1) : QString();
    MainWindow window(startFile, nullptr);
    window.show();
    return app.exec();
}
