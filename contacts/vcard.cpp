#include "contacts/vcard.h"

#include "system/arguments.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

// The reader works on the bytes as they are, line by line, and decodes only the values it keeps.
// A value costs only itself: one that cannot be read (an unknown encoding, broken base64, too
// long) is left out, and bytes of a code page that the card does not name, or names wrongly, are
// read by guess and noted. A card is malformed, counted and skipped when it has no END:VCARD
// (the text ends, or the next card begins, first), no BEGIN:VCARD, or names none of which can be
// read.
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

bool beginsWithCardMark(QByteArrayView text)
{
    for (const QByteArrayView mark : {QByteArrayView("BEGIN:VCARD"), QByteArrayView("END:VCARD")})
        if (text.size() >= mark.size() && isNamed(text.first(mark.size()), mark))
            return true;
    return false;
}

// The text's lines, numbered; a line that begins with a space or a tab continues the one before.
class LineCursor
{
public:
    explicit LineCursor(QByteArrayView text)
        : m_text(text)
    {
    }

    bool atEnd() const { return m_next >= m_text.size(); }

    // The number of the first line that next() gave last, from 1.
    int lineNumber() const { return m_lineNumber; }

    // The next line with its continuations, their line breaks still in it.
    QByteArrayView next()
    {
        const qsizetype start = m_next;
        m_lineNumber = m_linesPassed + 1;
        qsizetype end = passLine();
        while (m_next < m_text.size() && isBlank(m_text[m_next]))
            end = passLine();
        return m_text.sliced(start, end - start);
    }

    // The end of the last line, `tail`, extended over the lines that quoted-printable soft line
    // breaks (a final '=') join to it; never over a line that begins or ends a card.
    QByteArrayView joinSoftBreaks(QByteArrayView tail)
    {
        while (tail.endsWith('=') && !atEnd() && !beginsWithCardMark(m_text.sliced(m_next))) {
            const qsizetype end = passLine();
            tail = QByteArrayView(tail.data(), m_text.data() + end);
        }
        return tail;
    }

private:
    // Moves past the line at m_next, and gives where its text ends.
    qsizetype passLine()
    {
        // Each kind of line break is looked for again only once the cursor has passed the one
        // found, so that a text of lone CRs, or of lone LFs, takes one pass.
        if (m_nextLineFeed < m_next)
            m_nextLineFeed = find(m_text, '\n', m_next, m_text.size());
        if (m_nextReturn < m_next)
            m_nextReturn = find(m_text, '\r', m_next, m_text.size());
        const qsizetype end = std::min(m_nextLineFeed, m_nextReturn);
        m_next = pastLineBreak(m_text, end);
        ++m_linesPassed;
        return end;
    }

    QByteArrayView m_text;
    qsizetype m_next = 0;
    qsizetype m_nextLineFeed = -1;
    qsizetype m_nextReturn = -1;
    int m_linesPassed = 0;
    int m_lineNumber = 0;
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
    Kind,
    AppleKind,
    AppleShowAs,
    Name,
    FormattedName,
    Nickname,
    Uid,
};

constexpr std::pair<QByteArrayView, Property> knownProperties[] = {
    {"BEGIN", Property::Begin},
    {"END", Property::End},
    {"VERSION", Property::Version},
    {"AGENT", Property::Agent},
    {"KIND", Property::Kind},
    {"X-ADDRESSBOOKSERVER-KIND", Property::AppleKind},
    {"X-ABSHOWAS", Property::AppleShowAs},
    {"N", Property::Name},
    {"FN", Property::FormattedName},
    {"NICKNAME", Property::Nickname},
    {"UID", Property::Uid},
};

Property propertyNamed(QByteArrayView name)
{
    for (const auto& [text, property] : knownProperties)
        if (isNamed(name, text))
            return property;
    return Property::Other;
}

// The property's name as the user finds it in the file.
QString shownProperty(Property property)
{
    for (const auto& [text, known] : knownProperties)
        if (known == property)
            return QString::fromLatin1(text);
    return {};
}

enum class Encoding {
    Plain,
    QuotedPrintable,
    Base64,
    Unknown, // that no name is written in
};

// How a property's value is written, from its parameters.
struct ValueFormat
{
    Encoding encoding = Encoding::Plain;
    QByteArrayView encodingName; // as written
    QByteArrayView charset;      // as written, unquoted; empty where none is named
};

void takeEncoding(QByteArrayView name, ValueFormat& format)
{
    format.encodingName = name;
    if (isNamed(name, "QUOTED-PRINTABLE"))
        format.encoding = Encoding::QuotedPrintable;
    else if (isNamed(name, "B") || isNamed(name, "BASE64"))
        format.encoding = Encoding::Base64;
    else if (!isNamed(name, "8BIT") && !isNamed(name, "7BIT"))
        format.encoding = Encoding::Unknown;
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
            value = value.sliced(1, value.size() - 2).trimmed();
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
            format.charset = value;
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
// hands each of its pieces to `take(bytes, endsComponent, tooLong)`, written one after the other
// into `pieces`, from which `take` may drop the last; a piece longer than `longest` bytes is handed
// over empty, as too long. The separators and escapes are those of
// the written text: a character that quoted-printable encodes is always part of a value, as
// phones mean it. Continuation lines drop their first space or tab, except in 2.1, which folds
// only where a space was and keeps it.
template<typename Take>
void splitValue(QByteArrayView raw, bool quotedPrintable, bool foldsKeepBlank, Split split,
                qsizetype longest, QByteArray& pieces, Take take)
{
    pieces.resize(0);
    qsizetype start = 0;
    bool tooLong = false;
    const auto add = [&](QByteArrayView bytes) {
        tooLong = tooLong || pieces.size() - start + bytes.size() > longest;
        if (tooLong)
            pieces.resize(start);
        else
            pieces.append(bytes);
    };
    const auto piece = [&] { return QByteArrayView(pieces).sliced(start); };
    const qsizetype size = raw.size();
    qsizetype at = 0;
    int components = 0;
    while (at < size) {
        const char c = raw[at];
        if (!isSpecial(c)) {
            const qsizetype start = at;
            while (at < size && !isSpecial(raw[at]))
                ++at;
            add(raw.sliced(start, at - start));
        } else if (isLineBreak(c)) {
            at = pastLineBreak(raw, at);
            if (!foldsKeepBlank && at < size && isBlank(raw[at]))
                ++at;
        } else if (c == '=' && quotedPrintable) {
            if (at + 1 == size) {
                ++at; // a soft line break before the card's end
            } else if (isLineBreak(raw[at + 1])) {
                // A soft line break; some writers indent the line after it, too.
                at = pastLineBreak(raw, at + 1);
                if (at < size && isBlank(raw[at]))
                    ++at;
            } else if (at + 2 < size && hexDigit(raw[at + 1]) >= 0 && hexDigit(raw[at + 2]) >= 0) {
                const char decoded = char(hexDigit(raw[at + 1]) * 16 + hexDigit(raw[at + 2]));
                add(QByteArrayView(&decoded, 1));
                at += 3;
            } else {
                add(raw.sliced(at++, 1));
            }
        } else if (c == '\\' && at + 1 < size && !isLineBreak(raw[at + 1])) {
            const char escaped = raw[at + 1];
            if (escaped == 'n' || escaped == 'N')
                add("\n");
            else if (escaped == '\\' || escaped == ';' || escaped == ',')
                add(raw.sliced(at + 1, 1));
            else
                add(raw.sliced(at, 2)); // not an escape: kept as written
            at += 2;
        } else if ((c == ';' && split == Split::Names) || (c == ',' && split != Split::Whole)) {
            take(piece(), c == ';', std::exchange(tooLong, false));
            // The prefixes and suffixes after them are no names.
            if (c == ';' && ++components == 3)
                return;
            start = pieces.size();
            ++at;
        } else {
            add(raw.sliced(at++, 1));
        }
    }
    take(piece(), true, tooLong);
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isControl(char16_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

// The text without the spaces around it, and without control characters, which no name holds
// and which could drive a terminal: a line break or a tab is a space, any other is dropped.
QString cleanText(QString text, bool& controlsDropped)
{
    controlsDropped =
        std::any_of(text.cbegin(), text.cend(), [](QChar c) { return isControl(c.unicode()); });
    if (!controlsDropped)
        return std::move(text).trimmed();
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        const char16_t code = c.unicode();
        if (!isControl(code))
            clean += c;
        else if (code == '\t' || code == '\n' || code == '\r' || code == 0x0B || code == 0x0C ||
                 code == 0x85)
            clean += u' ';
    }
    return clean.simplified();
}

// How the code page of a value was found, where it was not as the card says.
enum class Assumption {
    None,
    Unnamed,      // the card names none
    UnknownName,  // the card names one that is not known
    Contradicted, // the bytes are not text in the one named
};

// How the pieces of one value are decoded, chosen from all of its bytes.
struct Reading
{
    enum {
        Latin1, // ASCII
        Utf8,
        Page,
    } kind = Latin1;
    QStringDecoder* page = nullptr;
    Assumption assumption = Assumption::None;
    const char* assumed = nullptr; // the code page guessed
};

// Decodes values by the code pages their cards name, each code page made once for a text.
class TextDecoder
{
public:
    // How to read `bytes` in the code page `declared` names, or by guess where it names none,
    // one that is not known, or one that the bytes contradict.
    Reading choose(QByteArrayView bytes, QByteArrayView declared)
    {
        if (isAscii(bytes))
            return {};
        if (declared.isEmpty()) {
            if (bytes.isValidUtf8())
                return {Reading::Utf8};
            return guess(bytes, Assumption::Unnamed);
        }
        CodePage* page = codePageNamed(declared);
        if (!page)
            return guess(bytes, Assumption::UnknownName);
        const bool utf8 = bytes.isValidUtf8();
        if (page->utf8 && utf8)
            return {Reading::Utf8};
        // Valid multi-byte UTF-8 is no text of a single-byte page.
        if (page->singleByte && utf8)
            return {Reading::Utf8, nullptr, Assumption::Contradicted, "UTF-8"};
        if (!page->utf8) {
            const Reading declaredPage{Reading::Page, &page->decoder};
            bool failed = false;
            const QString text = decode(declaredPage, bytes, &failed);
            // Bytes 0x80..0x9F are control codes in ISO-8859 pages, and letters and dashes in
            // the Windows pages that are written under their names.
            const bool windowsBytes =
                page->singleByte && !QByteArrayView(page->decoder.name()).startsWith("windows-") &&
                std::any_of(text.cbegin(), text.cend(),
                            [](QChar c) { return c.unicode() >= 0x80 && c.unicode() <= 0x9F; });
            if (!failed && !windowsBytes)
                return declaredPage;
        }
        if (page->western)
            return {Reading::Page, &decoderOf(m_windows1252, "windows-1252"),
                    Assumption::Contradicted, "windows-1252"};
        return guess(bytes, Assumption::Contradicted);
    }

    static QString decode(const Reading& reading, QByteArrayView bytes, bool* failed = nullptr)
    {
        switch (reading.kind) {
        case Reading::Latin1:
            return QString::fromLatin1(bytes);
        case Reading::Utf8:
            return QString::fromUtf8(bytes);
        case Reading::Page:
            break;
        }
        QString text = (*reading.page)(bytes);
        if (failed)
            *failed = reading.page->hasError();
        reading.page->resetState();
        return text;
    }

private:
    struct CodePage
    {
        QByteArray name; // as the card writes it
        QStringDecoder decoder;
        bool utf8 = false;       // UTF-8, or UTF-16 or -32, which a text in bytes is not
        bool singleByte = false; // every byte a character
        bool western = false;    // Latin-1 or ASCII, which Windows writes windows-1252 under
    };

    // Text that names no known code page: UTF-8, else the code page that Hungarian Windows and
    // phones write, which shows Latin-1 names right as well but for a few letters.
    Reading guess(QByteArrayView bytes, Assumption assumption)
    {
        if (bytes.isValidUtf8())
            return {Reading::Utf8, nullptr, assumption, "UTF-8"};
        return {Reading::Page, &decoderOf(m_windows1250, "windows-1250"), assumption,
                "windows-1250"};
    }

    static QStringDecoder& decoderOf(std::optional<QStringDecoder>& decoder, const char* name)
    {
        if (!decoder)
            decoder.emplace(name);
        return *decoder;
    }

    CodePage* codePageNamed(QByteArrayView name)
    {
        for (CodePage& page : m_codePages)
            if (page.name.size() == name.size() &&
                qstrnicmp(page.name.constData(), name.data(), name.size()) == 0)
                return page.decoder.isValid() ? &page : nullptr;
        // A text may name a new code page in every card: only the first few are kept.
        CodePage& page = m_codePages.size() < 16 ? m_codePages.emplace_back() : m_lastCodePage;
        page.name = name.toByteArray();
        page.decoder = QStringDecoder(page.name.constData());
        const std::optional<QStringConverter::Encoding> builtIn =
            QStringConverter::encodingForName(page.name.constData());
        // The locale's code page is no code page a card can name.
        if (builtIn == QStringConverter::System)
            page.decoder = QStringDecoder();
        if (!page.decoder.isValid())
            return nullptr;
        page.utf8 = builtIn && *builtIn != QStringConverter::Latin1;
        page.western = builtIn == QStringConverter::Latin1 ||
                       QByteArrayView(page.decoder.name()) == QByteArrayView("US-ASCII");
        char high[128];
        for (int byte = 0; byte < 128; ++byte)
            high[byte] = char(0x80 + byte);
        QStringDecoder probe(page.name.constData());
        page.singleByte =
            !page.utf8 && probe(QByteArrayView(high, 128)).operator QString().size() == 128;
        return &page;
    }

    std::vector<CodePage> m_codePages;
    CodePage m_lastCodePage;
    std::optional<QStringDecoder> m_windows1250;
    std::optional<QStringDecoder> m_windows1252;
};

bool isCardMark(QByteArrayView value)
{
    return isNamed(value.trimmed(), "VCARD");
}

// No name is longer, nor has a list of names more values: a value or a piece beyond these is
// not kept, so that what a card costs follows the size of its names, whatever the shape of its
// values.
constexpr qsizetype longestValue = 1000;
constexpr qsizetype mostValues = 100;

// Reads the cards of one text into a reading.
class CardReader
{
public:
    CardReader(SourceReading& reading, QByteArrayView file)
        : m_reading(reading)
        , m_file(file)
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
            if (format.encoding == Encoding::QuotedPrintable)
                line->value = lines.joinSoftBreaks(line->value);
            switch (property) {
            case Property::Begin:
                if (isCardMark(line->value))
                    begin(lines.lineNumber());
                break;
            case Property::End:
                if (!isCardMark(line->value))
                    break;
                if (m_depth > 0 && --m_depth == 0)
                    close();
                else if (m_depth == 0 && m_strayLine > 0)
                    closeStray();
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
            case Property::Kind:
            case Property::AppleKind:
            case Property::AppleShowAs:
                if (m_depth == 1)
                    m_notPerson = m_notPerson || isNoPerson(property, line->value.trimmed());
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
            if (m_depth == 0 && m_strayLine == 0 && property != Property::End)
                m_strayLine = lines.lineNumber();
            m_agentAnnounced = property == Property::Agent && line->value.trimmed().isEmpty();
        }
        if (m_depth > 0)
            skip(u"nincs vége (END:VCARD), mielőtt a fájl véget ér"_s);
    }

private:
    enum class Value {
        Absent,
        Read,
        Unreadable,
    };

    static bool isNoPerson(Property property, QByteArrayView value)
    {
        if (property == Property::AppleShowAs)
            return isNamed(value, "COMPANY");
        return isNamed(value, "GROUP") || (property == Property::Kind && isNamed(value, "ORG"));
    }

    void begin(int line)
    {
        if (m_depth > 0 && m_agentAnnounced) {
            ++m_depth;
            return;
        }
        // A card that another one begins inside, unannounced, never ended.
        if (m_depth > 0)
            skip(u"nincs vége (END:VCARD), mielőtt a következő névjegy kezdődik"_s);
        start(line);
        m_depth = 1;
    }

    void start(int line)
    {
        ++m_reading.cards;
        ++m_cardNumber;
        m_cardLine = line;
        m_strayLine = 0;
        m_contact = Contact();
        m_findings.clear();
        m_foldsKeepBlank = false;
        m_notPerson = false;
        m_formattedName = m_name = m_nickname = Value::Absent;
        m_hasUid = false;
    }

    // The properties of a card whose BEGIN:VCARD is missing, up to its END:VCARD.
    void closeStray()
    {
        start(m_strayLine);
        skip(u"nincs eleje (BEGIN:VCARD)"_s);
    }

    void close()
    {
        const bool named =
            m_formattedName == Value::Read || m_name == Value::Read || m_nickname == Value::Read;
        const bool unreadable = m_formattedName == Value::Unreadable ||
                                m_name == Value::Unreadable || m_nickname == Value::Unreadable;
        if (unreadable && !named)
            return skip(u"egyik neve sem olvasható"_s);
        m_depth = 0;
        if (m_notPerson)
            ++m_reading.notPeople;
        else
            m_reading.contacts.append(std::move(m_contact));
        if (!m_findings.empty())
            addNote(QString());
    }

    void skip(const QString& why)
    {
        m_depth = 0;
        ++m_reading.malformed;
        addNote(u"kihagyva, mert "_s + why);
    }

    void addNote(QString why)
    {
        if (m_reading.noteCount >= SourceReading::keptNotes) {
            ++m_reading.noteCount;
            return;
        }
        for (const auto& [finding, properties] : m_findings)
            why += (why.isEmpty() ? u""_s : u"; "_s) + properties.join(u", "_s) + u": "_s + finding;
        // Named only where a note needs it: most files have none.
        if (m_shownFile.isNull())
            m_shownFile = decodedArgument(m_file);
        m_reading.note({m_shownFile, m_cardNumber, m_cardLine, why});
    }

    // What the card's notes will tell of a property.
    void find(Property property, const QString& finding)
    {
        const QString name = shownProperty(property);
        auto found = std::find_if(m_findings.begin(), m_findings.end(),
                                  [&](const auto& known) { return known.first == finding; });
        if (found == m_findings.end())
            m_findings.emplace_back(finding, QStringList{name});
        else if (!found->second.contains(name))
            found->second.append(name);
    }

    void findAssumption(Property property, const ValueFormat& format, Assumption assumption,
                        const char* assumed)
    {
        if (assumption == Assumption::None)
            return;
        const QString page = QString::fromLatin1(assumed);
        const QString named = QString::fromLatin1(format.charset);
        switch (assumption) {
        case Assumption::None:
            break;
        case Assumption::Unnamed:
            find(property, u"kódlap megadása nélkül, %1-ként olvasva"_s.arg(page));
            break;
        case Assumption::UnknownName:
            find(property, u"ismeretlen kódlap (%1), %2-ként olvasva"_s.arg(named, page));
            break;
        case Assumption::Contradicted:
            find(property, u"nem a megadott %1 kódlapú, %2-ként olvasva"_s.arg(named, page));
            break;
        }
    }

    // Decodes a value's pieces, giving each to `keep(text, endsComponent)`, an empty text for
    // one that is not kept. False where nothing of it could be read: an unknown encoding, broken
    // base64, only values too long.
    template<typename Keep>
    bool decode(Property property, QByteArrayView raw, const ValueFormat& format, Split split,
                Keep keep)
    {
        bool quotedPrintable = format.encoding == Encoding::QuotedPrintable;
        if (format.encoding == Encoding::Unknown) {
            find(property, u"nem olvasható, ismeretlen kódolású (%1)"_s.arg(
                               QString::fromLatin1(format.encodingName)));
            return false;
        }
        if (format.encoding == Encoding::Base64) {
            m_base64.resize(0);
            for (const char c : raw)
                if (!isLineBreak(c) && !isBlank(c))
                    m_base64 += c;
            QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
                std::move(m_base64), QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) {
                find(property, u"nem olvasható, hibás a base64-kódolása"_s);
                return false;
            }
            m_base64 = std::move(*decoded);
            raw = m_base64;
        }
        // The code page is chosen from the whole value, its pieces decoded by it.
        m_pieces.clear();
        qsizetype values = 0;
        bool someTooLong = false;
        splitValue(raw, quotedPrintable, m_foldsKeepBlank, split, longestValue, m_value,
                   [&](QByteArrayView bytes, bool endsComponent, bool tooLong) {
                       // Empty values of a list name nobody, and are not kept.
                       const bool empty = split != Split::Whole && bytes.trimmed().isEmpty();
                       const bool kept = !tooLong && !empty && ++values <= mostValues;
                       someTooLong = someTooLong || tooLong;
                       if (tooLong)
                           find(property, u"túl hosszú, kimaradt"_s);
                       else if (values == mostValues + 1 && !kept && !empty)
                           find(property, u"túl sok név, csak az első %1 számít"_s.arg(mostValues));
                       const qsizetype from = m_value.size() - bytes.size();
                       if (kept || endsComponent)
                           m_pieces.push_back({from, kept ? bytes.size() : -1, endsComponent});
                       if (!kept)
                           m_value.resize(from);
                   });
        const Reading reading = m_decoder.choose(m_value, format.charset);
        findAssumption(property, format, reading.assumption, reading.assumed);
        bool read = !someTooLong;
        for (const Piece& piece : m_pieces) {
            if (piece.size < 0) {
                keep(QString(), piece.endsComponent);
                continue;
            }
            read = true;
            bool controlsDropped = false;
            keep(cleanText(TextDecoder::decode(
                               reading, QByteArrayView(m_value).sliced(piece.from, piece.size)),
                           controlsDropped),
                 piece.endsComponent);
            if (controlsDropped)
                find(property, u"vezérlőkarakterek kimaradtak belőle"_s);
        }
        return read;
    }

    void readProperty(Property property, QByteArrayView raw, const ValueFormat& format)
    {
        const auto state = [](bool read) { return read ? Value::Read : Value::Unreadable; };
        // A card holds one N, FN and UID; the first counts, as 4.0's alternatives follow it.
        switch (property) {
        case Property::Name:
            if (m_name != Value::Absent)
                return;
            m_name = state(takeName(raw, format));
            m_contact.hasName = m_name == Value::Read;
            break;
        case Property::FormattedName:
            if (m_formattedName != Value::Absent)
                return;
            m_formattedName =
                state(decode(property, raw, format, Split::Whole, [&](QString text, bool) {
                    m_contact.formattedName = std::move(text);
                }));
            break;
        case Property::Nickname: {
            const bool read = decode(property, raw, format, Split::Values, [&](QString text, bool) {
                if (!text.isEmpty())
                    m_contact.nicknames.append(std::move(text));
            });
            if (m_nickname != Value::Read)
                m_nickname = state(read);
            break;
        }
        case Property::Uid:
            if (std::exchange(m_hasUid, true))
                return;
            decode(property, raw, format, Split::Whole,
                   [&](QString text, bool) { m_contact.uid = std::move(text); });
            break;
        default:
            break;
        }
    }

    // N: family names; given names; additional names; prefixes; suffixes.
    bool takeName(QByteArrayView raw, const ValueFormat& format)
    {
        int component = 0;
        return decode(Property::Name, raw, format, Split::Names,
                      [&](QString text, bool endsComponent) {
                          // Prefixes and suffixes (dr., ifj.) are no names.
                          if (component == 0 && !text.isEmpty())
                              m_contact.familyName +=
                                  (m_contact.familyName.isEmpty() ? u""_s : u" "_s) + text;
                          else if (component <= 2 && !text.isEmpty())
                              m_contact.givenNames.append(std::move(text));
                          if (endsComponent)
                              ++component;
                      });
    }

    SourceReading& m_reading;
    QByteArrayView m_file;
    QString m_shownFile;
    TextDecoder m_decoder;
    Contact m_contact;
    int m_depth = 0; // 1 inside a card, more inside the cards of its agents
    int m_cardNumber = 0;
    int m_cardLine = 0;
    int m_strayLine = 0; // the first line of properties outside any card, 0 where none
    bool m_agentAnnounced = false;
    bool m_foldsKeepBlank = false;
    bool m_notPerson = false;
    Value m_formattedName = Value::Absent;
    Value m_name = Value::Absent;
    Value m_nickname = Value::Absent;
    bool m_hasUid = false;
    // What the card's note tells, and of which properties.
    std::vector<std::pair<QString, QStringList>> m_findings;
    QByteArray m_joinedHead;
    QByteArray m_base64;
    // A value's pieces, one after the other, and where each is; -1 long for one not kept.
    struct Piece
    {
        qsizetype from;
        qsizetype size;
        bool endsComponent;
    };
    QByteArray m_value;
    std::vector<Piece> m_pieces;
};
} // namespace

void readVCards(QByteArrayView text, SourceReading& reading, QByteArrayView file)
{
    // Some Windows programs export UTF-16, or UTF-32, with or without a byte order mark; the
    // reader works on UTF-8.
    std::optional<QStringConverter::Encoding> encoding =
        QStringConverter::encodingForData(text, u'B');
    if (!encoding)
        encoding = QStringConverter::encodingForData(text, u'b');
    if (encoding && *encoding != QStringConverter::Utf8) {
        const QByteArray utf8 = QStringDecoder(*encoding)(text).operator QString().toUtf8();
        CardReader(reading, file).read(utf8);
        return;
    }
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    CardReader(reading, file).read(text);
}

QString unlabelledText(QByteArrayView bytes)
{
    TextDecoder decoder;
    bool controlsDropped = false;
    return cleanText(TextDecoder::decode(decoder.choose(bytes, {}), bytes), controlsDropped);
}
