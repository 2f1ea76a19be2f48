#include "system/systemerrors.h"

#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

class TestSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void systemErrorsInHungarian_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("expected");
        QTest::newRow("full disk")
            << ENOSPC << u"Nincs több hely az eszközön (No space left on device)"_s;
        QTest::newRow("read-only")
            << EROFS << u"Csak olvasható fájlrendszer (Read-only file system)"_s;
        QTest::newRow("closed output") << EBADF << u"Nincs megnyitva (Bad file descriptor)"_s;
        QTest::newRow("unknown to us")
            << ENOTSOCK << u"Váratlan rendszerhiba (Socket operation on non-socket)"_s;
        QTest::newRow("unknown to the system")
            << 9999 << u"Váratlan rendszerhiba (hibakód: 9999)"_s;
    }
    void systemErrorsInHungarian()
    {
        QFETCH(int, error);
        QFETCH(QString, expected);
        QCOMPARE(systemErrorText(error), expected);
    }
};

QTEST_GUILESS_MAIN(TestSystem)
#include "tst_system.moc"
