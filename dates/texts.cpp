#include "dates/texts.h"

QString numberText(int number)
{
    return number < 0 ? QString::number(number) : u' ' + QString::number(number);
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
