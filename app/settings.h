#pragma once

#include <QLatin1StringView>
#include <QSettings>
#include <QString>

// Where the window keeps what it remembers between runs: one INI file of the user's, named after
// the program, with the last database under DataKey and the recent files under RecentKey.
namespace AppSettings {
inline constexpr QLatin1StringView Name{"Scorewright"};
inline constexpr QLatin1StringView DataKey{"data"};
inline constexpr QLatin1StringView RecentKey{"recent"};
// Whether a saved table starts with its caption line.
inline constexpr QLatin1StringView CaptionLineKey{"captionLine"};

inline QSettings open()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QString(Name), QString(Name));
}
} // namespace AppSettings
