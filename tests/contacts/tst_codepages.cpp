#include "contacts/codepages.h"

#include <QStringDecoder>
#include <QTest>

// The project's own tables against Qt's decoders, byte by byte, before the tables give way.

class CodePages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyByte_data();
    void everyByte();
};

void CodePages::everyByte_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("name");

    QTest::newRow("ISO-8859-2") << int(CodePage::Iso8859_2) << QByteArray("ISO-8859-2");
    QTest::newRow("windows-1250") << int(CodePage::Windows1250) << QByteArray("windows-1250");
}

// Where a table has a character, the decoder gives the same one; where it has none, the
// decoder gives a control character of the C1 range, which no name holds.
void CodePages::everyByte()
{
    QFETCH(int, page);
    QFETCH(QByteArray, name);

    for (int byte = 0; byte <= 0xFF; ++byte) {
        const char bytes[1] = {char(byte)};
        QStringDecoder decoder(name.constData());
        QVERIFY(decoder.isValid());
        const QString decoded = decoder(QByteArrayView(bytes, 1));
        QVERIFY(!decoder.hasError());
        QCOMPARE(decoded.size(), 1);
        const std::optional<QString> fromTable =
            decodeCodePage(QByteArrayView(bytes, 1), CodePage(page));
        if (fromTable)
            QCOMPARE(decoded, *fromTable);
        else
            QVERIFY2(decoded.front().unicode() >= 0x80 && decoded.front().unicode() <= 0x9F,
                     qPrintable(QString::number(byte, 16)));
    }
}

QTEST_GUILESS_MAIN(CodePages)
#include "tst_codepages.moc"
