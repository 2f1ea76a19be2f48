#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <utility>

// What the user set in zorvat-nevnap.conf, an INI file:
//   [contacts]       sources=~/.contacts, thunderbird, evolution
//                    remind=3
//   [aliases]        Kati=Katalin
//   [notification]   private=true
//   [search]         contacts=false
struct Configuration
{
    QStringList sources;             // as written, "~" not yet expanded
    QHash<QString, QString> aliases; // a name people use → the name it stands for
    int reminderDaysBefore = -1;     // the people's name days remind that many days before; never
                                     // where negative
    bool privateNotification = false;
    bool contactsInSearch = true; // whether the desktop's search may show the people
};

// The most days before a name day that a reminder may come.
inline constexpr int longestReminder = 30;

// Reads the text of the file. Lines it does not understand are skipped: a typo in one line
// must not cost the rest.
Configuration parseConfiguration(QByteArrayView text);

// An INI file as the user and Thunderbird (profiles.ini) write it: [sections] of key=value lines,
// names as written, and values without the spaces around them.
struct IniSection
{
    QString name;
    QList<std::pair<QString, QString>> values;
};
QList<IniSection> parseIni(QByteArrayView text);

// The user's configuration, or none where the file is not there. Where it cannot be read,
// `complaint` says why in Hungarian.
Configuration readConfiguration(QString& complaint);

// $XDG_CONFIG_HOME/zorvat/zorvat-nevnap.conf, ~/.config/… where the variable is unset or not an
// absolute path.
QString configurationPath();

// "~" and "~/…" are the home folder.
QString expandedPath(const QString& source);
