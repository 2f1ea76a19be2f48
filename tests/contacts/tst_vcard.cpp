#include "contacts/vcard.h"

#include <QFile>
#include <QTest>

#include <iconv.h>

using namespace Qt::StringLiterals;

namespace {
// "FN | family name | given+names | nick+names | UID", the family name "-" for a card without N.
QStringList summaries(const QList<Contact>& contacts)
{
    QStringList lines;
    for (const Contact& contact : contacts)
        lines +=
            QStringList{contact.formattedName, contact.hasName ? contact.familyName : u"-"_s,
                        contact.givenNames.join(u'+'), contact.nicknames.join(u'+'), contact.uid}
                .join(u" | "_s);
    return lines;
}

SourceReading read(const QByteArray& text)
{
    SourceReading reading;
    readVCards(text, reading);
    return reading;
}
} // namespace

class VCard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void files_data();
    void files();
    void texts_data();
    void texts();
    void codePages_data();
    void codePages();
};

void VCard::files_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("malformed");
    QTest::addColumn<QStringList>("contacts");

    QTest::newRow("2.1 of phones and old Thunderbird")
        << u"phone-2.1.vcf"_s << 0
        << QStringList{u"Ágnes Kovács | Kovács | Ágnes |  | "_s,
                       u"Győri Kálmán Ödön | Győri | Kálmán+Ödön |  | "_s,
                       u"Ľudmila Šoltés | Šoltés | Ľudmila |  | "_s,
                       u"dr. Fekete Péter | Fekete | Péter |  | fekete-peter"_s,
                       u"Éva Ábrahám | Ábrahám | Éva |  | "_s,
                       u"Sándor Kiss | Kiss | Sándor | Sanyi | "_s};
    QTest::newRow("3.0 of Google")
        << u"google-3.0.vcf"_s << 0
        << QStringList{u"Nagy Erzsébet | Nagy | Erzsébet | Bözsi, a nagymama+Erzsi | "_s,
                       u"Tóth László | Tóth | László | Laci | "_s, u"Példa Kft. | - |  |  | "_s};
    QTest::newRow("4.0 of Apple")
        << u"apple-4.0.vcf"_s << 0
        << QStringList{
               u"Kiss Anna Mária | Kiss | Anna+Mária | Panni | "
               "urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1"_s,
               u"Szabó-Horváth Krisztina Zsófia Eleonóra, a Kodály Zoltán Vegyeskar vezetője | "
               "Szabó-Horváth | Krisztina+Zsófia+Eleonóra | Kriszta+Zsófi | "
               "urn:uuid:0b4f4e0a-7c3e-4a43-8d6b-3d3a9a0f9b1e"_s,
               u" | - |  |  | urn:uuid:9a7f3c2e-5b1d-4e8f-a6c4-2d0e8b7f1a35"_s,
               u"Varga Gábor | Varga | Gábor |  | "_s};
    // Unended, not UTF-8, an unknown character set, a terminal escape, base64, cut off.
    QTest::newRow("malformed among good ones")
        << u"broken.vcf"_s << 6
        << QStringList{u"Első Jó | Jó | Első |  | "_s, u"Második Jó | Jó | Második |  | "_s,
                       u"Harmadik Jo | Jo | Harmadik |  | "_s};
}

void VCard::files()
{
    QFETCH(QString, file);
    QFETCH(int, malformed);
    QFETCH(QStringList, contacts);

    QFile vCards(QFINDTESTDATA(u"data/"_s + file));
    QVERIFY(vCards.open(QIODevice::ReadOnly));
    const SourceReading reading = read(vCards.readAll());
    QCOMPARE(summaries(reading.contacts), contacts);
    QCOMPARE(reading.malformed, malformed);
    QCOMPARE(reading.cards, contacts.size() + malformed);
}

void VCard::texts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("cards");
    QTest::addColumn<QStringList>("contacts");

    QTest::newRow("nothing") << QByteArray() << 0 << QStringList();
    QTest::newRow("lone CR line ends") << "BEGIN:VCARD\rVERSION:3.0\rFN:Kiss Anna\rEND:VCARD\r"_ba
                                       << 1 << QStringList{u"Kiss Anna | - |  |  | "_s};
    const QString utf16 = u"\uFEFFBEGIN:VCARD\r\nN:Őry;Ödön\r\nEND:VCARD\r\n"_s;
    QTest::newRow("UTF-16, little-endian")
        << QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2) << 1
        << QStringList{u" | Őry | Ödön |  | "_s};
    QTest::newRow("escapes, and what is none")
        << "BEGIN:VCARD\nFN:a\\\\b\\,c\\;d\\ne\\:f\nEND:VCARD\n"_ba << 1
        << QStringList{u"a\\b,c;d\ne\\:f | - |  |  | "_s};
    QTest::newRow("N's prefixes and suffixes are no names")
        << "BEGIN:VCARD\nN:Kiss;Anna;Mária;dr.;ifj.\nEND:VCARD\n"_ba << 1
        << QStringList{u" | Kiss | Anna+Mária |  | "_s};
    QTest::newRow("3.0's agent is a value")
        << "BEGIN:VCARD\nFN:A\nAGENT:BEGIN:VCARD\\nFN:B\\nEND:VCARD\\n\nEND:VCARD\n"_ba << 1
        << QStringList{u"A | - |  |  | "_s};
    QTest::newRow("an agent's card left open spoils one card")
        << "BEGIN:VCARD\nFN:A\nAGENT:\nBEGIN:VCARD\nFN:B\nBEGIN:VCARD\nFN:C\nEND:VCARD\n"_ba << 2
        << QStringList{u"C | - |  |  | "_s};
}

void VCard::texts()
{
    QFETCH(QByteArray, text);
    QFETCH(int, cards);
    QFETCH(QStringList, contacts);

    const SourceReading reading = read(text);
    QCOMPARE(summaries(reading.contacts), contacts);
    QCOMPARE(reading.cards, cards);
    QCOMPARE(reading.malformed, cards - contacts.size());
}

void VCard::codePages_data()
{
    QTest::addColumn<QByteArray>("charset");

    QTest::newRow("ISO-8859-2") << "ISO-8859-2"_ba;
    QTest::newRow("windows-1250") << "WINDOWS-1250"_ba;
}

// Every byte above ASCII in a name of its own, against the C library's converter; a byte that
// is no character, or a control character, spoils its card.
void VCard::codePages()
{
    QFETCH(QByteArray, charset);

    const iconv_t toUtf8 = iconv_open("UTF-8", charset.constData());
    QVERIFY(toUtf8 != iconv_t(-1));
    QByteArray text;
    QStringList expected;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        text += "BEGIN:VCARD\r\nFN;ENCODING=QUOTED-PRINTABLE;CHARSET=" + charset +
                ":x=" + QByteArray::number(byte, 16) + "x\r\nEND:VCARD\r\n";
        char in = char(byte);
        char* inAt = &in;
        size_t inLeft = 1;
        char out[8];
        char* outAt = out;
        size_t outLeft = sizeof out;
        if (iconv(toUtf8, &inAt, &inLeft, &outAt, &outLeft) == size_t(-1))
            continue;
        const QString character = QString::fromUtf8(out, outAt - out);
        if (character.front().category() != QChar::Other_Control)
            expected += u'x' + character + u'x';
    }
    iconv_close(toUtf8);

    const SourceReading reading = read(text);
    QStringList names;
    for (const Contact& contact : reading.contacts)
        names += contact.formattedName;
    QCOMPARE(names, expected);
    QCOMPARE(reading.malformed, 128 - expected.size());
}

QTEST_GUILESS_MAIN(VCard)
#include "tst_vcard.moc"
