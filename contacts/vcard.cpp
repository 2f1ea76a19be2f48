#include "contacts/vcard.h"

#include "contacts/codepages.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

// The reader works on the bytes as they are, line by line, and decodes only the values it keeps.
// A card is malformed, counted and skipped when it has no END:VCARD (the text ends, or the next
// card begins, first), or when a value it keeps (N's names, FN, NICKNAME, UID) cannot be
// decoded: bytes that are not text in the card's character set, a character set or an encoding
// the reader does not know, or a control character, which no name holds and which could drive a
// terminal.
// Anything else it is lenient about, as address books are: unknown properties, lines without a
// colon (2.1's unindented base64 lines), a missing VERSION, text outside the cards.

namespace {

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Just past the line break at `at`: CRLF, LF or a lone CR.
qsizetype pastLineBreak(QByteArrayView text, qsizetype at)
{
    if (at < text.size() && text[at] == '\r')
        ++at;
    if (at < text.size() && text[at] == '\n')
        ++at;
    return at;
}

// The first of `c` in text[from, to), or `to`.
qsizetype find(QByteArrayView text, char c, qsizetype from, qsizetype to)
{
    if (from >= to)
        return to;
    const void* found = std::memchr(text.data() + from, c, to - from);
    return found ? static_cast<const char*>(found) - text.data() : to;
}

qsizetype lineEnd(QByteArrayView text, qsizetype from)
{
    return find(text, '\r', from, find(text, '\n', from, text.size()));
}

// The text's lines; a line that begins with a space or a tab continues the one before.
class LineCursor
{
public:
    explicit LineCursor(QByteArrayView text)
        : m_text(text)
    {
    }

    bool atEnd() const { return m_next >= m_text.size(); }

    // The next line with its continuations, their line breaks still in it.
    QByteArrayView next()
    {
        const qsizetype start = m_next;
        qsizetype end = lineEnd(m_text, start);
        m_next = pastLineBreak(m_text, end);
        while (m_next < m_text.size() && isBlank(m_text[m_next])) {
            end = lineEnd(m_text, m_next);
            m_next = pastLineBreak(m_text, end);
        }
        return m_text.sliced(start, end - start);
    }

    // The end of the last line, `tail`, extended over the lines that quoted-printable soft line
    // breaks (a final '=') join to it.
    QByteArrayView joinSoftBreaks(QByteArrayView tail)
    {
        while (tail.endsWith('=') && !atEnd()) {
            const qsizetype end = lineEnd(m_text, m_next);
            m_next = pastLineBreak(m_text, end);
            tail = QByteArrayView(tail.data(), m_text.data() + end);
        }
        return tail;
    }

private:
    QByteArrayView m_text;
    qsizetype m_next = 0;
};

// A line as `name;parameters:value`.
struct PropertyLine
{
    QByteArrayView name;       // without its group (`item1.`)
    QByteArrayView parameters; // after the name's ';'
    QByteArrayView value;      // line breaks of continuation lines still in it
};

// The parts of a line, or nothing for a line without a colon. A head that continues over
// several lines is joined in `joinedHead`.
std::optional<PropertyLine> splitLine(QByteArrayView line, QByteArray& joinedHead)
{
    qsizetype colon = find(line, ':', 0, line.size());
    if (find(line, '"', 0, colon) < colon) {
        // A quoted parameter value may hold a colon (4.0's SORT-AS="…").
        bool quoted = false;
        for (colon = 0; colon < line.size(); ++colon) {
            if (line[colon] == '"')
                quoted = !quoted;
            else if (line[colon] == ':' && !quoted)
                break;
        }
    }
    if (colon == line.size())
        return std::nullopt;

    QByteArrayView head = line.first(colon);
    if (find(head, '\n', 0, head.size()) < head.size() ||
        find(head, '\r', 0, head.size()) < head.size()) {
        joinedHead.resize(0);
        for (qsizetype at = 0; at < head.size();) {
            if (!isLineBreak(head[at])) {
                joinedHead += head[at++];
                continue;
            }
            at = pastLineBreak(head, at);
            if (at < head.size() && isBlank(head[at]))
                ++at;
        }
        head = joinedHead;
    }
    PropertyLine parts;
    const qsizetype semicolon = find(head, ';', 0, head.size());
    qsizetype nameStart = semicolon;
    while (nameStart > 0 && head[nameStart - 1] != '.')
        --nameStart;
    parts.name = head.sliced(nameStart, semicolon - nameStart).trimmed();
    parts.parameters = head.sliced(std::min(semicolon + 1, head.size()));
    parts.value = line.sliced(colon + 1);
    return parts;
}

enum class Property {
    Other,
    Begin,
    End,
    Version,
    Agent,
    Name,
    FormattedName,
    Nickname,
    Uid,
};

// Whether `text` is `name`, which is written in capitals, in any case.
bool isNamed(QByteArrayView text, QByteArrayView name)
{
    if (text.size() != name.size())
        return false;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if ((c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c) != name[at])
            return false;
    }
    return true;
}

Property propertyNamed(QByteArrayView name)
{
    static constexpr std::pair<QByteArrayView, Property> known[] = {
        {"BEGIN", Property::Begin},       {"END", Property::End}, {"VERSION", Property::Version},
        {"AGENT", Property::Agent},       {"N", Property::Name},  {"FN", Property::FormattedName},
        {"NICKNAME", Property::Nickname}, {"UID", Property::Uid},
    };
    for (const auto& [text, property] : known)
        if (isNamed(name, text))
            return property;
    return Property::Other;
}

enum class Charset {
    Utf8,
    Latin1,
    Iso8859_2,
    Windows1250,
    Unknown,
};

Charset charsetNamed(QByteArrayView name)
{
    static constexpr std::pair<QByteArrayView, Charset> known[] = {
        {"UTF-8", Charset::Utf8},
        {"UTF8", Charset::Utf8},
        // Claimed by writers that send UTF-8 all the same.
        {"US-ASCII", Charset::Utf8},
        {"ISO-8859-1", Charset::Latin1},
        {"ISO8859-1", Charset::Latin1},
        {"LATIN1", Charset::Latin1},
        {"ISO-8859-2", Charset::Iso8859_2},
        {"ISO8859-2", Charset::Iso8859_2},
        {"LATIN2", Charset::Iso8859_2},
        {"WINDOWS-1250", Charset::Windows1250},
        {"CP1250", Charset::Windows1250},
    };
    for (const auto& [text, charset] : known)
        if (isNamed(name, text))
            return charset;
    return Charset::Unknown;
}

// How a property's value is written, from its parameters.
struct ValueFormat
{
    bool quotedPrintable = false;
    bool unknownEncoding = false; // base64 or anything else that no name is written in
    Charset charset = Charset::Utf8;
};

void takeEncoding(QByteArrayView name, ValueFormat& format)
{
    if (isNamed(name, "QUOTED-PRINTABLE"))
        format.quotedPrintable = true;
    else if (!isNamed(name, "8BIT") && !isNamed(name, "7BIT"))
        format.unknownEncoding = true;
}

ValueFormat formatOf(QByteArrayView parameters)
{
    ValueFormat format;
    while (!parameters.isEmpty()) {
        bool quoted = false;
        qsizetype end = 0;
        for (; end < parameters.size() && (quoted || parameters[end] != ';'); ++end)
            if (parameters[end] == '"')
                quoted = !quoted;
        const QByteArrayView parameter = parameters.first(end);
        parameters = parameters.sliced(std::min(end + 1, parameters.size()));

        const qsizetype equals = find(parameter, '=', 0, parameter.size());
        const bool bare = equals == parameter.size();
        QByteArrayView value = (bare ? parameter : parameter.sliced(equals + 1)).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.sliced(1, value.size() - 2);
        if (bare) {
            // 2.1 names an encoding bare; other bare values are types (HOME, CELL).
            if (isNamed(value, "QUOTED-PRINTABLE") || isNamed(value, "BASE64"))
                takeEncoding(value, format);
            continue;
        }
        const QByteArrayView name = parameter.first(equals).trimmed();
        if (isNamed(name, "ENCODING"))
            takeEncoding(value, format);
        else if (isNamed(name, "CHARSET"))
            format.charset = charsetNamed(value);
    }
    return format;
}

bool mentionsQuotedPrintable(QByteArrayView parameters)
{
    static constexpr QByteArrayView name = "QUOTED-PRINTABLE";
    for (qsizetype at = 0; at + name.size() <= parameters.size(); ++at)
        if (isNamed(parameters.sliced(at, name.size()), name))
            return true;
    return false;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

enum class Split {
    Whole,  // FN, UID
    Values, // NICKNAME: values between commas
    Names,  // N's family, given and additional names, each of values between commas
};

bool isSpecial(char c)
{
    return isLineBreak(c) || c == '=' || c == '\\' || c == ';' || c == ',';
}

// Joins a value's continuation lines, undoes its quoted-printable encoding and its escapes, and
// hands each of its pieces to `take(bytes, endsComponent)`. The separators and escapes are those
// of the written text: a character that quoted-printable encodes is always part of a value, as
// phones mean it. Continuation lines drop their first space or tab, except in 2.1, which folds
// only where a space was and keeps it.
template<typename Take>
void splitValue(QByteArrayView raw, const ValueFormat& format, bool foldsKeepBlank, Split split,
                QByteArray& piece, Take take)
{
    piece.resize(0);
    const qsizetype size = raw.size();
    qsizetype at = 0;
    int components = 0;
    while (at < size) {
        const char c = raw[at];
        if (!isSpecial(c)) {
            const qsizetype start = at;
            while (at < size && !isSpecial(raw[at]))
                ++at;
            piece.append(raw.sliced(start, at - start));
        } else if (isLineBreak(c)) {
            at = pastLineBreak(raw, at);
            if (!foldsKeepBlank && at < size && isBlank(raw[at]))
                ++at;
        } else if (c == '=' && format.quotedPrintable) {
            if (at + 1 < size && isLineBreak(raw[at + 1])) {
                // A soft line break; some writers indent the line after it, too.
                at = pastLineBreak(raw, at + 1);
                if (at < size && isBlank(raw[at]))
                    ++at;
            } else if (at + 2 < size && hexDigit(raw[at + 1]) >= 0 && hexDigit(raw[at + 2]) >= 0) {
                piece += char(hexDigit(raw[at + 1]) * 16 + hexDigit(raw[at + 2]));
                at += 3;
            } else {
                piece += c;
                ++at;
            }
        } else if (c == '\\' && at + 1 < size && !isLineBreak(raw[at + 1])) {
            const char escaped = raw[at + 1];
            if (escaped == 'n' || escaped == 'N')
                piece += '\n';
            else if (escaped == '\\' || escaped == ';' || escaped == ',')
                piece += escaped;
            else
                piece.append(raw.sliced(at, 2)); // not an escape: kept as written
            at += 2;
        } else if ((c == ';' && split == Split::Names) || (c == ',' && split != Split::Whole)) {
            take(QByteArrayView(piece), c == ';');
            // The prefixes and suffixes after them are no names.
            if (c == ';' && ++components == 3)
                return;
            piece.resize(0);
            ++at;
        } else {
            piece += c;
            ++at;
        }
    }
    take(QByteArrayView(piece), true);
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool hasControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        // A line break is a value's own, written as "\n".
        if ((code < 0x20 && code != '\t' && code != '\n') || (code >= 0x7F && code <= 0x9F))
            return true;
    }
    return false;
}

// The text of a value's bytes without the spaces around it, or nothing when it is not text.
std::optional<QString> decodeText(QByteArrayView bytes, Charset charset)
{
    QString text;
    if (bytes.isEmpty())
        return text;
    // Most names are plain ASCII, whatever the character set claims.
    if (isAscii(bytes))
        charset = Charset::Latin1;
    switch (charset) {
    case Charset::Utf8:
        if (!bytes.isValidUtf8())
            return std::nullopt;
        text = QString::fromUtf8(bytes);
        break;
    case Charset::Latin1:
        text = QString::fromLatin1(bytes);
        break;
    case Charset::Iso8859_2:
    case Charset::Windows1250: {
        std::optional<QString> decoded = decodeCodePage(
            bytes, charset == Charset::Iso8859_2 ? CodePage::Iso8859_2 : CodePage::Windows1250);
        if (!decoded)
            return std::nullopt;
        text = std::move(*decoded);
        break;
    }
    case Charset::Unknown:
        if (!isAscii(bytes))
            return std::nullopt;
        text = QString::fromLatin1(bytes);
        break;
    }
    if (hasControlCharacter(text))
        return std::nullopt;
    return std::move(text).trimmed();
}

bool isCardMark(QByteArrayView value)
{
    return isNamed(value.trimmed(), "VCARD");
}

// Reads the cards of one text into a reading.
class CardReader
{
public:
    explicit CardReader(SourceReading& reading)
        : m_reading(reading)
    {
    }

    void read(QByteArrayView text)
    {
        LineCursor lines(text);
        while (!lines.atEnd()) {
            std::optional<PropertyLine> line = splitLine(lines.next(), m_joinedHead);
            if (!line)
                continue;
            const Property property = propertyNamed(line->name);
            // Of the properties it does not keep, only quoted-printable lines matter, which
            // may go on over lines that look like properties of their own.
            const ValueFormat format =
                property != Property::Other || mentionsQuotedPrintable(line->parameters)
                    ? formatOf(line->parameters)
                    : ValueFormat();
            if (format.quotedPrintable)
                line->value = lines.joinSoftBreaks(line->value);
            switch (property) {
            case Property::Begin:
                if (isCardMark(line->value))
                    begin();
                break;
            case Property::End:
                if (isCardMark(line->value) && m_depth > 0 && --m_depth == 0)
                    close(m_malformed);
                break;
            case Property::Agent:
                // 2.1 writes an agent's card inside the card, after AGENT: or on its line.
                if (m_depth > 0 && isNamed(line->value.trimmed(), "BEGIN:VCARD"))
                    ++m_depth;
                break;
            case Property::Version:
                if (m_depth == 1)
                    m_foldsKeepBlank = isNamed(line->value.trimmed(), "2.1");
                break;
            case Property::Name:
            case Property::FormattedName:
            case Property::Nickname:
            case Property::Uid:
                if (m_depth == 1)
                    readProperty(property, line->value, format);
                break;
            case Property::Other:
                break;
            }
            m_agentAnnounced = property == Property::Agent && line->value.trimmed().isEmpty();
        }
        if (m_depth > 0)
            close(true);
    }

private:
    void begin()
    {
        if (m_depth > 0 && m_agentAnnounced) {
            ++m_depth;
            return;
        }
        // A card that another one begins inside, unannounced, never ended.
        if (m_depth > 0)
            close(true);
        m_depth = 1;
        ++m_reading.cards;
        m_contact = Contact();
        m_malformed = false;
        m_foldsKeepBlank = false;
        m_hasFormattedName = false;
        m_hasUid = false;
    }

    void close(bool malformed)
    {
        m_depth = 0;
        if (malformed)
            ++m_reading.malformed;
        else
            m_reading.contacts.append(std::move(m_contact));
    }

    // Decodes a value's pieces, unless the card is known to be malformed already.
    template<typename Keep>
    void decode(QByteArrayView raw, const ValueFormat& format, Split split, Keep keep)
    {
        if (format.unknownEncoding)
            m_malformed = true;
        if (m_malformed)
            return;
        splitValue(raw, format, m_foldsKeepBlank, split, m_piece,
                   [&](QByteArrayView bytes, bool endsComponent) {
                       std::optional<QString> text = decodeText(bytes, format.charset);
                       if (!text)
                           m_malformed = true;
                       else
                           keep(std::move(*text), endsComponent);
                   });
    }

    void readProperty(Property property, QByteArrayView raw, const ValueFormat& format)
    {
        // A card holds one N, FN and UID; the first counts, as 4.0's alternatives follow it.
        switch (property) {
        case Property::Name:
            if (m_contact.hasName)
                return;
            m_contact.hasName = true;
            takeName(raw, format);
            break;
        case Property::FormattedName:
            if (std::exchange(m_hasFormattedName, true))
                return;
            decode(raw, format, Split::Whole,
                   [&](QString text, bool) { m_contact.formattedName = std::move(text); });
            break;
        case Property::Nickname:
            decode(raw, format, Split::Values, [&](QString text, bool) {
                if (!text.isEmpty())
                    m_contact.nicknames.append(std::move(text));
            });
            break;
        case Property::Uid:
            if (std::exchange(m_hasUid, true))
                return;
            decode(raw, format, Split::Whole,
                   [&](QString text, bool) { m_contact.uid = std::move(text); });
            break;
        default:
            break;
        }
    }

    // N: family names; given names; additional names; prefixes; suffixes.
    void takeName(QByteArrayView raw, const ValueFormat& format)
    {
        int component = 0;
        decode(raw, format, Split::Names, [&](QString text, bool endsComponent) {
            // Prefixes and suffixes (dr., ifj.) are no names.
            if (component == 0 && !text.isEmpty())
                m_contact.familyName += (m_contact.familyName.isEmpty() ? u""_s : u" "_s) + text;
            else if (component <= 2 && !text.isEmpty())
                m_contact.givenNames.append(std::move(text));
            if (endsComponent)
                ++component;
        });
    }

    SourceReading& m_reading;
    Contact m_contact;
    int m_depth = 0; // 1 inside a card, more inside the cards of its agents
    bool m_agentAnnounced = false;
    bool m_malformed = false;
    bool m_foldsKeepBlank = false;
    bool m_hasFormattedName = false;
    bool m_hasUid = false;
    QByteArray m_joinedHead;
    QByteArray m_piece;
};
} // namespace

void readVCards(QByteArrayView text, SourceReading& reading)
{
    const bool littleEndian = text.startsWith("\xFF\xFE");
    if (littleEndian || text.startsWith("\xFE\xFF")) {
        // Some Windows programs export UTF-16; the reader works on UTF-8.
        QStringDecoder toText(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        const QString decoded = toText(text);
        CardReader(reading).read(decoded.toUtf8());
        return;
    }
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    CardReader(reading).read(text);
}
