#include "contacts/vcard.h"

#include <QFile>
#include <QHash>
#include <QTest>

#include <iconv.h>
#include <libebook-contacts/libebook-contacts.h>

using namespace Qt::StringLiterals;

// The test files read by Evolution Data Server's own parser, EVCard, card by card against this
// reader: FN, N's family names, its given and additional names, NICKNAME and UID.

namespace {
enum Field {
    FormattedName,
    FamilyName,
    GivenNames,
    Nicknames,
    Uid,
};

// EVCard separates neither N's nor NICKNAME's values at commas, and keeps an escaped comma as a
// comma; the test files escape no comma in N, so N's values are separated here, and nicknames
// are compared as one text.
QStringList valuesOf(const QString& component)
{
    QStringList values;
    for (const QString& value : component.split(u','))
        if (!value.trimmed().isEmpty())
            values += value.trimmed();
    return values;
}

QStringList fieldsOf(const Contact& contact)
{
    return {contact.formattedName, contact.hasName ? contact.familyName : u"-"_s,
            contact.givenNames.join(u'+'), contact.nicknames.join(u','), contact.uid};
}

QStringList evolutionFields(const QByteArray& card)
{
    EVCard* vCard = e_vcard_new_from_string(card.constData());
    QStringList fields{QString(), u"-"_s, QString(), QString(), QString()};
    QStringList nicknames;
    bool hasName = false;
    for (GList* item = e_vcard_get_attributes(vCard); item; item = item->next) {
        auto* attribute = static_cast<EVCardAttribute*>(item->data);
        const QByteArray name = QByteArray(e_vcard_attribute_get_name(attribute)).toUpper();
        QStringList values;
        GList* encoding = e_vcard_attribute_get_param(attribute, EVC_ENCODING);
        if (encoding &&
            (g_ascii_strcasecmp(static_cast<const char*>(encoding->data), "b") == 0 ||
             g_ascii_strcasecmp(static_cast<const char*>(encoding->data), "BASE64") == 0)) {
            // EVCard decodes base64 on request only, as one value.
            GList* decoded = e_vcard_attribute_get_values_decoded(attribute);
            const QString whole =
                decoded ? QString::fromUtf8(static_cast<GString*>(decoded->data)->str) : QString();
            values = name == "N" ? whole.split(u';') : QStringList{whole};
        } else {
            for (GList* value = e_vcard_attribute_get_values(attribute); value; value = value->next)
                values += QString::fromUtf8(static_cast<const char*>(value->data));
        }
        if (name == "FN" && fields[FormattedName].isNull()) {
            fields[FormattedName] = values.value(0).trimmed();
        } else if (name == "N" && !std::exchange(hasName, true)) {
            fields[FamilyName] = valuesOf(values.value(0)).join(u' ');
            fields[GivenNames] = (valuesOf(values.value(1)) + valuesOf(values.value(2))).join(u'+');
        } else if (name == "NICKNAME") {
            nicknames += values.join(u';').trimmed();
        } else if (name == "UID" && fields[Uid].isEmpty()) {
            fields[Uid] = values.value(0).trimmed();
        }
    }
    fields[Nicknames] = nicknames.join(u',');
    g_object_unref(vCard);
    return fields;
}

// The text in UTF-8, by the C library's converter.
QByteArray toUtf8(const QByteArray& text, const char* from)
{
    const iconv_t converter = iconv_open("UTF-8", from);
    QByteArray converted(text.size() * 2, Qt::Uninitialized);
    char* in = const_cast<char*>(text.constData());
    size_t inLeft = size_t(text.size());
    char* out = converted.data();
    size_t outLeft = size_t(converted.size());
    iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    converted.resize(converted.size() - qsizetype(outLeft));
    return converted;
}

// Each card of a text, from its BEGIN:VCARD line to its END:VCARD line, agents' cards in it.
QList<QByteArray> cardsOf(QByteArray text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QList<QByteArray> cards;
    QByteArray card;
    int depth = 0;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray mark = line.trimmed().toUpper();
        depth += mark == "BEGIN:VCARD";
        if (depth > 0)
            card += line + '\n';
        if (mark == "END:VCARD" && depth > 0 && --depth == 0)
            cards += std::exchange(card, QByteArray());
    }
    return cards;
}
} // namespace

class VCardEvolution : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameNames_data();
    void sameNames();
};

void VCardEvolution::sameNames_data()
{
    QTest::addColumn<QString>("file");

    // The malformed cards of broken.vcf have nothing to compare: EVCard reads what it can of
    // any text.
    // Groups and organisations are no people, and have no contact to compare; EVCard reads
    // neither lone CRs nor UTF-16 or UTF-32, which are given to it as UTF-8 here.
    for (const char* file :
         {"phone-2.1.vcf", "google-3.0.vcf", "apple-4.0.vcf", "outlook-windows-1252.vcf",
          "sap-latin1.vcf", "iso-8859-15.vcf", "phone-shift_jis.vcf", "outlook-no-charset.vcf",
          "latin1-no-charset.vcf", "wrong-labels.vcf", "bad-values.vcf", "utf16le-no-bom.vcf",
          "utf16be-no-bom.vcf", "utf32be-no-bom.vcf", "base64-names.vcf", "soft-break-at-end.vcf"})
        QTest::newRow(file) << QString::fromLatin1(file);
}

void VCardEvolution::sameNames()
{
    QFETCH(QString, file);

    // Where EVCard cannot read a card as its writer meant it, by the card's FN:
    // - it makes the whole text valid UTF-8 before it joins folded lines and decodes a CHARSET,
    //   so it loses the bytes of ISO-8859-2 written as they are (quoted-printable ones it
    //   reads), and a character that a fold splits;
    // - it joins 2.1's folded lines as 3.0's, dropping the space that 2.1 folds at;
    // - it ends a card at the END:VCARD of the agent's card inside it;
    // - it converts raw bytes by no CHARSET (and a label that the bytes contradict by the label),
    //   but makes them valid UTF-8, and assumes UTF-8 for quoted-printable without CHARSET;
    // - it keeps control characters, ends a value at a NUL, keeps a value of an unknown encoding
    //   and broken base64 as they are written, and joins END:VCARD to a soft line break.
    // The names of these are written out by hand in tst_vcard. Cards without FN are known here by
    // their family name.
    const QList<Field> names = {FormattedName, FamilyName, GivenNames};
    const QHash<QString, QList<Field>> unreadByEvolution{
        {u"Győri Kálmán Ödön"_s, names},
        {u"dr. Fekete Péter"_s, {FormattedName, Uid}},
        {u"Szabó-Horváth Krisztina Zsófia Eleonóra, a Kodály Zoltán Vegyeskar vezetője"_s,
         {FormattedName, GivenNames}},
        {u"Günther Müller"_s, names},
        {u"Géza Fränkel"_s, names},
        {u"Kovács Ágota"_s, names},
        {u"Šárka Žiková"_s, names},
        {u"田中太郎"_s, {FormattedName}},
        {u"山田"_s, names},
        {u"Őri Ödön"_s, names},
        {u"Szűts Györgyi"_s, names},
        {u"Tóth"_s, names},
        {u"Jürgen Müller"_s, names},
        {u"François Lefčvre"_s, names},
        {u"Kovács Ödön"_s, names},
        {u"Kiss Anna – munka"_s, {FormattedName}},
        {u"Ľubica Šimon"_s, names},
        {u"Nagy Béla"_s, {FormattedName}},
        {u"Kiss Ilona"_s, {FormattedName}},
        {u"Szabó János"_s, {FormattedName}},
        {u"Vadász Tamás"_s, {FormattedName}},
        {u"Fodor"_s, {FormattedName}},
        {u"Balogh Ernő"_s, {FamilyName, GivenNames}},
        {u"Molnár"_s, {GivenNames}},
        {u"Kertész Róza"_s, {FormattedName}},
    };

    QFile vCards(QFINDTESTDATA(u"data/"_s + file));
    QVERIFY(vCards.open(QIODevice::ReadOnly));
    const QByteArray text = vCards.readAll();
    SourceReading reading;
    readVCards(text, reading);
    QByteArray utf8 = text;
    if (file.startsWith(u"utf16") || file.startsWith(u"utf32"))
        utf8 = toUtf8(text, file.startsWith(u"utf16le")   ? "UTF-16LE"
                            : file.startsWith(u"utf16be") ? "UTF-16BE"
                                                          : "UTF-32BE");
    QList<QByteArray> cards = cardsOf(utf8);
    // A card that this reader skips has no contact to compare.
    for (qsizetype note = reading.notes.size() - 1; note >= 0; --note)
        if (reading.notes[note].why.startsWith(u"kihagyva"))
            cards.removeAt(reading.notes[note].card - 1);
    QCOMPARE(reading.contacts.size(), cards.size());
    for (qsizetype card = 0; card < cards.size(); ++card) {
        QStringList ours = fieldsOf(reading.contacts[card]);
        QStringList evolution = evolutionFields(cards[card]);
        const QString key = ours[FormattedName].isEmpty() ? ours[FamilyName] : ours[FormattedName];
        for (const Field field : unreadByEvolution.value(key)) {
            ours[field] = u"(not compared)"_s;
            evolution[field] = u"(not compared)"_s;
        }
        QCOMPARE(ours, evolution);
    }
}

QTEST_GUILESS_MAIN(VCardEvolution)
#include "tst_vcardevolution.moc"
