#include "system/arguments.h"

#include <QStringBuilder>

using namespace Qt::StringLiterals;

namespace {
constexpr char16_t firstEscapedByte = 0xDC80; // stands for the byte 0x80, up to 0xDCFF for 0xFF
constexpr int shownLength = 80;

bool isEscapedByte(char32_t c)
{
    return c >= firstEscapedByte && c <= firstEscapedByte + 0x7F;
}

// The length of the well-formed UTF-8 character at the start of `bytes`, 0 where there is none.
qsizetype utf8CharacterLength(QByteArrayView bytes)
{
    const auto byte = [&](qsizetype i) { return uchar(bytes[i]); };
    const uchar lead = byte(0);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    char32_t lowest = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    return c < lowest || c > 0x10FFFF || surrogate ? 0 : length;
}
} // namespace

QString decodedArgument(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype length = utf8CharacterLength(bytes.sliced(start));
        if (length == 0) {
            text += QChar(char16_t(firstEscapedByte + uchar(bytes[start]) - 0x80));
            ++start;
        } else {
            text += QString::fromUtf8(bytes.sliced(start, length));
            start += length;
        }
    }
    return text;
}

QStringList decodedArguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments += decodedArgument(argv[i]);
    return arguments;
}

QByteArray argumentBytes(const QString& argument)
{
    QByteArray bytes;
    bytes.reserve(argument.size());
    for (qsizetype i = 0; i < argument.size(); ++i) {
        const QChar c = argument[i];
        if (isEscapedByte(c.unicode()))
            bytes += char(c.unicode() - firstEscapedByte + 0x80);
        else if (c.isHighSurrogate() && i + 1 < argument.size() && argument[i + 1].isLowSurrogate())
            bytes += argument.sliced(i++, 2).toUtf8();
        else
            bytes += QString(c).toUtf8();
    }
    return bytes;
}

QString shownArgument(const QString& argument)
{
    const auto escape = [](const char16_t* form, uint value, int digits) {
        return QString::fromUtf16(form) + u"%1"_s.arg(value, digits, 16, QChar(u'0')).toUpper();
    };
    QString shown;
    int characters = 0;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (characters++ == shownLength)
            return shown + u'…';
        const QChar c = argument[i];
        const bool pair =
            c.isHighSurrogate() && i + 1 < argument.size() && argument[i + 1].isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(c, argument[i + 1]) : c.unicode();
        const QChar::Category category = QChar::category(code);
        if (isEscapedByte(code))
            shown += escape(u"\\x", code - firstEscapedByte + 0x80, 2);
        else if (category == QChar::Other_Control || category == QChar::Other_Format ||
                 category == QChar::Other_Surrogate || category == QChar::Separator_Line ||
                 category == QChar::Separator_Paragraph)
            shown += code < 0x100 ? escape(u"\\x", code, 2) : escape(u"\\u", code, 4);
        else
            shown += argument.sliced(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
    }
    return shown;
}
