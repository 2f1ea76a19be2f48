#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// A key file in GLib's format, as Evolution Data Server keeps its sources: [group] lines, then
// key=value lines. Setting a value keeps every other line as it was, comments and the keys of
// other programs included.
class KeyFile
{
public:
    explicit KeyFile(QByteArrayView text = {});

    // The value with GLib's escapes (\s \n \t \r \\) undone; empty where the key is not set.
    QString value(QStringView group, QStringView key) const;
    void setValue(QStringView group, QStringView key, const QString& value);
    QByteArray text() const;

private:
    struct Line
    {
        QString group; // the group the line is in
        QString key;   // empty for a group line, a comment or a blank line
        QByteArray text;
    };
    QList<Line> m_lines;
};
