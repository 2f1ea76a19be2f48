#include "contacts/vcard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <fstream>
#include <iconv.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
    void notes_data();
    void notes();
    void texts_data();
    void texts();
    void codePages_data();
    void codePages();
    void linearInAnyLineEnds();
    void memoryOfOneLongList_data();
    void memoryOfOneLongList();
};

void VCard::files_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("malformed");
    QTest::addColumn<int>("notPeople");
    QTest::addColumn<QStringList>("contacts");

    QTest::newRow("2.1 of phones and old Thunderbird")
        << u"phone-2.1.vcf"_s << 0 << 0
        << QStringList{u"Ágnes Kovács | Kovács | Ágnes |  | "_s,
                       u"Győri Kálmán Ödön | Győri | Kálmán+Ödön |  | "_s,
                       u"Ľudmila Šoltés | Šoltés | Ľudmila |  | "_s,
                       u"dr. Fekete Péter | Fekete | Péter |  | fekete-peter"_s,
                       u"Éva Ábrahám | Ábrahám | Éva |  | "_s,
                       u"Sándor Kiss | Kiss | Sándor | Sanyi | "_s};
    QTest::newRow("3.0 of Google")
        << u"google-3.0.vcf"_s << 0 << 0
        << QStringList{u"Nagy Erzsébet | Nagy | Erzsébet | Bözsi, a nagymama+Erzsi | "_s,
                       u"Tóth László | Tóth | László | Laci | "_s, u"Példa Kft. | - |  |  | "_s};
    QTest::newRow("4.0 of Apple")
        << u"apple-4.0.vcf"_s << 0 << 0
        << QStringList{
               u"Kiss Anna Mária | Kiss | Anna+Mária | Panni | "
               "urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1"_s,
               u"Szabó-Horváth Krisztina Zsófia Eleonóra, a Kodály Zoltán Vegyeskar vezetője | "
               "Szabó-Horváth | Krisztina+Zsófia+Eleonóra | Kriszta+Zsófi | "
               "urn:uuid:0b4f4e0a-7c3e-4a43-8d6b-3d3a9a0f9b1e"_s,
               u" | - |  |  | urn:uuid:9a7f3c2e-5b1d-4e8f-a6c4-2d0e8b7f1a35"_s,
               u"Varga Gábor | Varga | Gábor |  | "_s};
    // Without BEGIN, unended, cut off; the rest read by guess, without the escape, from base64.
    QTest::newRow("malformed among good ones")
        << u"broken.vcf"_s << 3 << 0
        << QStringList{u"Első Jó | Jó | Első |  | "_s,        u"Második Jó | Jó | Második |  | "_s,
                       u"Hibás Kódolás | - |  |  | "_s,       u" | Кисс |  |  | "_s,
                       u"[31mPiros[0m | - |  |  | "_s,        u" | Kiss | Anna |  | "_s,
                       u"Harmadik Jo | Jo | Harmadik |  | "_s};
    QTest::newRow("Outlook's windows-1252")
        << u"outlook-windows-1252.vcf"_s << 0 << 0
        << QStringList{u"Günther Müller | Müller | Günther |  | "_s,
                       u"Zoë O’Brien | O’Brien | Zoë |  | "_s};
    QTest::newRow("Latin-1 of an SAP export")
        << u"sap-latin1.vcf"_s << 0 << 0
        << QStringList{u"Géza Fränkel | Fränkel | Géza |  | "_s,
                       u"Kovács Ágota | Kovács | Ágota |  | "_s};
    QTest::newRow("ISO-8859-15, quoted and in small letters")
        << u"iso-8859-15.vcf"_s << 0 << 0 << QStringList{u"Šárka Žiková | Žiková | Šárka |  | "_s};
    QTest::newRow("Shift_JIS of a phone")
        << u"phone-shift_jis.vcf"_s << 0 << 0
        << QStringList{u"田中太郎 | Tanaka | Taro |  | "_s, u" | 山田 | 花子 |  | "_s};
    QTest::newRow("windows-1250 without a code page")
        << u"outlook-no-charset.vcf"_s << 0 << 0
        << QStringList{u"Őri Ödön | Őri | Ödön |  | "_s, u"Szűts Györgyi | Szűts | Györgyi |  | "_s,
                       u" | Tóth | Virág |  | "_s};
    // windows-1250 has č where Latin-1 has è.
    QTest::newRow("Latin-1 without a code page")
        << u"latin1-no-charset.vcf"_s << 0 << 0
        << QStringList{u"Jürgen Müller | Müller | Jürgen |  | "_s,
                       u"François Lefčvre | Lefčvre | François |  | "_s};
    QTest::newRow("wrong code pages") << u"wrong-labels.vcf"_s << 0 << 0
                                      << QStringList{u"Kovács Ödön | Kovács | Ödön |  | "_s,
                                                     u"Kiss Anna – munka | Kiss | Anna |  | "_s,
                                                     u"Ľubica Šimon | Šimon | Ľubica |  | "_s};
    QTest::newRow("one bad value") << u"bad-values.vcf"_s << 1 << 0
                                   << QStringList{u"Nagy Béla | Nagy | Béla |  | "_s,
                                                  u"Kiss Ilona | Kiss | Ilona |  | "_s,
                                                  u"Szabó János | Szabó | János |  | "_s,
                                                  u"Vadász Tamás | Vadász | Tamás |  | "_s,
                                                  u" | Fodor | Emese |  | "_s,
                                                  u"Balogh Ernő | - |  |  | "_s};
    for (const char* file : {"utf16le-no-bom.vcf", "utf16be-no-bom.vcf", "utf32be-no-bom.vcf"})
        QTest::newRow(file) << QString::fromLatin1(file) << 0 << 0
                            << QStringList{u"Pál Ottó | Pál | Ottó |  | "_s,
                                           u" | Győri | Lőrinc |  | "_s};
    QTest::newRow("base64") << u"base64-names.vcf"_s << 0 << 0
                            << QStringList{u"Fekete Zoltán | Fekete | Zoltán |  | "_s,
                                           u"Hegedűs Borbála | - |  |  | "_s};
    QTest::newRow("a soft line break before END")
        << u"soft-break-at-end.vcf"_s << 0 << 0
        << QStringList{u" | Molnár | Balázs |  | "_s, u"Kertész Róza | - |  |  | "_s};
    QTest::newRow("groups and organisations")
        << u"groups.vcf"_s << 0 << 4 << QStringList{u"Kiss Tamás | Kiss | Tamás |  | "_s};
    QTest::newRow("lone CRs of old Macs")
        << u"mac-cr.vcf"_s << 0 << 0
        << QStringList{u"Bárány Kinga | Bárány | Kinga |  | "_s,
                       u"Orosz Gellért | Orosz | Gellért |  | "_s};
}

void VCard::files()
{
    QFETCH(QString, file);
    QFETCH(int, malformed);
    QFETCH(int, notPeople);
    QFETCH(QStringList, contacts);

    QFile vCards(QFINDTESTDATA(u"data/"_s + file));
    QVERIFY(vCards.open(QIODevice::ReadOnly));
    const SourceReading reading = read(vCards.readAll());
    QCOMPARE(summaries(reading.contacts), contacts);
    QCOMPARE(reading.malformed, malformed);
    QCOMPARE(reading.notPeople, notPeople);
    QCOMPARE(reading.cards, contacts.size() + malformed + notPeople);
}

// Where each card that was skipped, or read only in part or by guess, is, and why.
void VCard::notes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("broken")
        << u"broken.vcf"_s
        << QStringList{
               u"1:1 kihagyva, mert nincs eleje (BEGIN:VCARD)"_s,
               u"3:8 kihagyva, mert nincs vége (END:VCARD), mielőtt a következő névjegy kezdődik"_s,
               u"5:16 FN: kódlap megadása nélkül, windows-1250-ként olvasva"_s,
               u"7:24 FN: vezérlőkarakterek kimaradtak belőle"_s,
               u"10:37 kihagyva, mert nincs vége (END:VCARD), mielőtt a fájl véget ér"_s};
    QTest::newRow("bad values")
        << u"bad-values.vcf"_s
        << QStringList{u"1:1 FN: vezérlőkarakterek kimaradtak belőle"_s,
                       u"2:6 FN: vezérlőkarakterek kimaradtak belőle"_s,
                       u"3:11 FN: vezérlőkarakterek kimaradtak belőle"_s,
                       u"4:16 FN: nem a megadott UTF-8 kódlapú, windows-1250-ként olvasva"_s,
                       u"5:21 FN: nem olvasható, ismeretlen kódolású (X-UNKNOWN)"_s,
                       u"6:26 N: nem olvasható, hibás a base64-kódolása"_s,
                       u"7:31 kihagyva, mert egyik neve sem olvasható; FN: nem olvasható, "
                       "ismeretlen kódolású (X-UNKNOWN)"_s};
    QTest::newRow("no code page")
        << u"outlook-no-charset.vcf"_s
        << QStringList{u"1:1 N, FN: kódlap megadása nélkül, windows-1250-ként olvasva"_s,
                       u"2:6 N, FN: kódlap megadása nélkül, windows-1250-ként olvasva"_s,
                       u"3:11 N: kódlap megadása nélkül, windows-1250-ként olvasva"_s};
    QTest::newRow("wrong code pages")
        << u"wrong-labels.vcf"_s
        << QStringList{
               u"1:1 N, FN: nem a megadott ISO-8859-2 kódlapú, UTF-8-ként olvasva"_s,
               u"2:6 FN: nem a megadott ISO-8859-1 kódlapú, windows-1252-ként olvasva"_s,
               u"3:11 N, FN: nem a megadott ISO-8859-2 kódlapú, windows-1250-ként olvasva"_s};
    QTest::newRow("declared code pages") << u"outlook-windows-1252.vcf"_s << QStringList();
}

void VCard::notes()
{
    QFETCH(QString, file);
    QFETCH(QStringList, notes);

    QFile vCards(QFINDTESTDATA(u"data/"_s + file));
    QVERIFY(vCards.open(QIODevice::ReadOnly));
    SourceReading reading;
    readVCards(vCards.readAll(), reading, file.toUtf8());
    QStringList found;
    for (const CardNote& note : std::as_const(reading.notes)) {
        QCOMPARE(note.file, file);
        found += u"%1:%2 %3"_s.arg(note.card).arg(note.line).arg(note.why);
    }
    QCOMPARE(found, notes);
    QCOMPARE(reading.noteCount, notes.size());
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
        << QStringList{u"a\\b,c;d e\\:f | - |  |  | "_s};
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
    QTest::addColumn<QByteArray>("controlBytesIn");

    // The control codes of ISO-8859-2 are bytes of windows-1250 written under its name.
    QTest::newRow("ISO-8859-2") << "ISO-8859-2"_ba
                                << "WINDOWS-1250"_ba;
    QTest::newRow("windows-1250") << "WINDOWS-1250"_ba
                                  << "WINDOWS-1250"_ba;
}

// Every byte above ASCII in a name of its own, against the C library's converter; a byte that
// is no character, or a control character, is left out of the name.
void VCard::codePages()
{
    QFETCH(QByteArray, charset);
    QFETCH(QByteArray, controlBytesIn);

    const auto converted = [](const QByteArray& from, char byte) {
        const iconv_t toUtf8 = iconv_open("UTF-8", from.constData());
        if (toUtf8 == iconv_t(-1))
            return u"(no converter)"_s;
        char* inAt = &byte;
        size_t inLeft = 1;
        char out[8];
        char* outAt = out;
        size_t outLeft = sizeof out;
        const bool done =
            toUtf8 != iconv_t(-1) && iconv(toUtf8, &inAt, &inLeft, &outAt, &outLeft) != size_t(-1);
        iconv_close(toUtf8);
        const QString character = done ? QString::fromUtf8(out, outAt - out) : QString();
        return character.isEmpty() || character.front().category() == QChar::Other_Control
                   ? QString()
                   : character;
    };
    QByteArray text;
    QStringList expected;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        text += "BEGIN:VCARD\r\nFN;ENCODING=QUOTED-PRINTABLE;CHARSET=" + charset +
                ":x=" + QByteArray::number(byte, 16) + "x\r\nEND:VCARD\r\n";
        expected += u'x' + converted(byte < 0xA0 ? controlBytesIn : charset, char(byte)) + u'x';
    }

    const SourceReading reading = read(text);
    QStringList names;
    for (const Contact& contact : reading.contacts)
        names += contact.formattedName;
    QCOMPARE(names, expected);
    QCOMPARE(reading.malformed, 0);
}

// Lone CRs once made every line a search to the end of the text: 5,000 cards took minutes.
void VCard::linearInAnyLineEnds()
{
    QByteArray crlf;
    for (int card = 0; card < 5000; ++card)
        crlf += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kiss Anna " + QByteArray::number(card) +
                "\r\nN:Kiss;Anna;;;\r\nTEL:+36 30 1234567\r\nNOTE:" + QByteArray(300, 'x') +
                "\r\nEND:VCARD\r\n";
    QByteArray cr = crlf;
    cr.replace("\r\n", "\r");
    const auto timeOf = [](const QByteArray& text) {
        QElapsedTimer timer;
        timer.start();
        const SourceReading reading = read(text);
        const qint64 elapsed = timer.nsecsElapsed();
        return reading.contacts.size() == 5000 ? elapsed : -1;
    };
    const qint64 withCrlf = std::max<qint64>(timeOf(crlf), 1);
    const qint64 withCr = timeOf(cr);
    QVERIFY(withCr > 0);
    // Quadratic, the ratio was in the hundreds.
    QVERIFY2(withCr < 10 * withCrlf + 20'000'000,
             qPrintable(u"%1 ns against %2 ns"_s.arg(withCr).arg(withCrlf)));

    // Nor may a new code page in every card make each card look through all before it.
    QByteArray named;
    QByteArray oneName;
    for (int card = 0; card < 5000; ++card) {
        const QByteArray rest = ":Kov\xE1"
                                "cs Anna\r\nEND:VCARD\r\n";
        named += "BEGIN:VCARD\r\nFN;CHARSET=X-" + QByteArray::number(card + 10'000) + rest;
        oneName += "BEGIN:VCARD\r\nFN;CHARSET=X-10000" + rest;
    }
    const qint64 withOneName = std::max<qint64>(timeOf(oneName), 1);
    const qint64 withNames = timeOf(named);
    QVERIFY(withNames > 0);
    QVERIFY2(withNames < 10 * withOneName + 50'000'000,
             qPrintable(u"%1 ns against %2 ns"_s.arg(withNames).arg(withOneName)));
}

void VCard::memoryOfOneLongList_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("word");

    QTest::newRow("nicknames") << "NICKNAME:"_ba
                               << "Anna,"_ba;
    QTest::newRow("words of FN") << "FN:"_ba
                                 << "Anna "_ba;
    QTest::newRow("given names") << "N:Kiss;"_ba
                                 << "Anna,"_ba;
}

// A 16 MiB card of one long list once took gigabytes; the reader may take no more than the text
// again and a fixed amount, measured in a child process under an address-space limit.
void VCard::memoryOfOneLongList()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves address space of its own.");
#endif
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, word);

    const QByteArray text = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kiss Anna\r\n" + head +
                            word.repeated(16 * 1024 * 1024 / word.size()) + "\r\nEND:VCARD\r\n";
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        rlimit limit;
        getrlimit(RLIMIT_AS, &limit);
        std::ifstream status("/proc/self/status");
        std::string line;
        rlim_t used = 0;
        while (std::getline(status, line))
            if (line.rfind("VmSize:", 0) == 0)
                used = std::stoull(line.substr(7)) * 1024;
        limit.rlim_cur = used + 2 * text.size() + 64 * 1024 * 1024;
        setrlimit(RLIMIT_AS, &limit);
        alarm(60); // a reader that swaps its way to the limit fails as well
        SourceReading reading;
        readVCards(text, reading);
        _exit(reading.contacts.size() == 1 ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "the reader ran out of its memory");
}

QTEST_GUILESS_MAIN(VCard)
#include "tst_vcard.moc"
