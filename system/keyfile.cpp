#include "system/keyfile.h"

using namespace Qt::StringLiterals;

namespace {
QByteArray escaped(const QString& value)
{
    QByteArray text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u' ' && i == 0)
            text += "\\s";
        else if (c == u'\n')
            text += "\\n";
        else if (c == u'\t')
            text += "\\t";
        else if (c == u'\r')
            text += "\\r";
        else if (c == u'\\')
            text += "\\\\";
        else
            text += QStringView(&c, 1).toUtf8();
    }
    return text;
}

QString unescaped(QStringView value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case 's':
            text += u' ';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'r':
            text += u'\r';
            break;
        default:
            text += value[i];
        }
    }
    return text;
}
} // namespace

KeyFile::KeyFile(QByteArrayView text)
{
    QString group;
    for (const QByteArray& line : text.toByteArray().split('\n')) {
        const QString decoded = QString::fromUtf8(line).trimmed();
        QString key;
        if (decoded.startsWith(u'[') && decoded.endsWith(u']'))
            group = decoded.sliced(1, decoded.size() - 2);
        else if (!decoded.startsWith(u'#') && decoded.contains(u'='))
            key = decoded.left(decoded.indexOf(u'=')).trimmed();
        m_lines.append({group, key, line});
    }
    // The line feed that ends the last line is not a line of its own.
    if (!m_lines.isEmpty() && m_lines.constLast().text.isEmpty())
        m_lines.removeLast();
}

QString KeyFile::value(QStringView group, QStringView key) const
{
    for (const Line& line : m_lines)
        if (line.group == group && line.key == key) {
            const QString decoded = QString::fromUtf8(line.text);
            return unescaped(QStringView(decoded).sliced(decoded.indexOf(u'=') + 1).trimmed());
        }
    return {};
}

void KeyFile::setValue(QStringView group, QStringView key, const QString& value)
{
    const QByteArray text = key.toUtf8() + '=' + escaped(value);
    qsizetype lastOfGroup = -1;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        if (line.group != group)
            continue;
        if (line.key == key) {
            line.text = text;
            return;
        }
        if (!line.text.trimmed().isEmpty())
            lastOfGroup = i;
    }
    if (lastOfGroup < 0) {
        if (!m_lines.isEmpty())
            m_lines.append({m_lines.constLast().group, {}, {}});
        m_lines.append({group.toString(), {}, '[' + group.toUtf8() + ']'});
        lastOfGroup = m_lines.size() - 1;
    }
    m_lines.insert(lastOfGroup + 1, {group.toString(), key.toString(), text});
}

QByteArray KeyFile::text() const
{
    QByteArray text;
    for (const Line& line : m_lines)
        text += line.text + '\n';
    return text;
}
