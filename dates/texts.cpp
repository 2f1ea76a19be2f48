#include "dates/texts.h"

#include <limits>

QString numberText(int number)
{
    return number < 0 ? QString::number(number) : u' ' + QString::number(number);
}

int textToNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    qint64 value = 0;
    constexpr qint64 limit = std::numeric_limits<int>::max();
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(value * 10 + (text[i].unicode() - u'0'), limit);
    return int(negative ? -value : value);
}

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

QString upper(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t upperCase = QChar::toUpper(QChar::surrogateToUcs4(c, text[i + 1]));
            if (QChar::requiresSurrogates(upperCase)) {
                *out++ = QChar(QChar::highSurrogate(upperCase));
                *out++ = QChar(QChar::lowSurrogate(upperCase));
            } else { // cannot happen in Unicode today; keep the pair as it was
                *out++ = c;
                *out++ = text[i + 1];
            }
            ++i;
        } else {
            *out++ = c.toUpper(); // a lone surrogate maps to itself
        }
    }
    return result;
}

int find(int start, QStringView text, QStringView what)
{
    if (text.isEmpty() || start < 1 || start > text.size())
        return 0;
    if (what.isEmpty())
        return start;
    return int(text.indexOf(what, start - 1)) + 1;
}
