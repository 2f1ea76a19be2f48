#include "system/runninginstance.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <future>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
const QString name = u"hu.zorvat.Test"_s;

QByteArray socketPath()
{
    return QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                             u'/' + name);
}

int connectedSocket()
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = socketPath();
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket);
        return -1;
    }
    return socket;
}

// What another program might send, part by part, and what it got back before the end.
QByteArray exchange(const QList<QByteArray>& parts)
{
    const int socket = connectedSocket();
    if (socket < 0)
        return "no connection";
    for (const QByteArray& part : parts) {
        ::send(socket, part.constData(), size_t(part.size()), MSG_NOSIGNAL);
        std::this_thread::sleep_for(50ms);
    }
    ::shutdown(socket, SHUT_WR);
    QByteArray answer;
    pollfd readable{socket, POLLIN, 0};
    char bytes[64];
    ssize_t size = 1;
    while (size > 0 && ::poll(&readable, 1, 5000) == 1)
        if ((size = ::recv(socket, bytes, sizeof bytes, 0)) > 0)
            answer.append(bytes, size);
    ::close(socket);
    return answer;
}

template<typename Result> bool finishes(std::future<Result>& running)
{
    QElapsedTimer clock;
    clock.start();
    while (running.wait_for(0s) != std::future_status::ready && clock.elapsed() < 10'000)
        QTest::qWait(10);
    return running.wait_for(0s) == std::future_status::ready;
}
} // namespace

class Instance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void handsTheDayOver();
    void noneRunning();
    void oneListensAtATime();
    void socketLeftByACrash();
    void requests_data();
    void requests();
    void silentClientHoldsNothingUp();

private:
    QTemporaryDir m_runtime;
};

// A runtime folder of the test's own, as the session gives each user one.
void Instance::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
}

void Instance::handsTheDayOver()
{
    RunningInstance instance(name);
    QVERIFY(instance.listen());
    QSignalSpy asked(&instance, &RunningInstance::calendarRequested);
    auto handed = std::async(std::launch::async,
                             [] { return handToRunningInstance(name, QDate(2026, 7, 26)); });
    QVERIFY(finishes(handed));
    QVERIFY(handed.get());
    QCOMPARE(asked.count(), 1);
    QCOMPARE(asked.first().first().toDate(), QDate(2026, 7, 26));
}

void Instance::noneRunning()
{
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!handToRunningInstance(name, QDate(2026, 7, 26)));
    QVERIFY(clock.elapsed() < 1000);
}

// A second Zorvat runs on alone; once the first ends, the next start can listen.
void Instance::oneListensAtATime()
{
    auto first = std::make_unique<RunningInstance>(name);
    QVERIFY(first->listen());
    RunningInstance second(name);
    QVERIFY(!second.listen());
    QVERIFY(QFile::exists(QFile::decodeName(socketPath())));
    first.reset();
    QVERIFY(!QFile::exists(QFile::decodeName(socketPath())));
    QVERIFY(second.listen());
}

void Instance::socketLeftByACrash()
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = socketPath();
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int left = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QCOMPARE(::bind(left, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(left);
    QVERIFY(!handToRunningInstance(name, QDate(2026, 7, 26)));

    RunningInstance instance(name);
    QVERIFY(instance.listen());
    QSignalSpy asked(&instance, &RunningInstance::calendarRequested);
    auto handed = std::async(std::launch::async,
                             [] { return handToRunningInstance(name, QDate(2000, 2, 29)); });
    QVERIFY(finishes(handed));
    QVERIFY(handed.get());
    QCOMPARE(asked.count(), 1);
}

// Only a day, exactly as ISO writes it, is taken and answered.
void Instance::requests_data()
{
    QTest::addColumn<QList<QByteArray>>("parts");
    QTest::addColumn<QDate>("day"); // invalid where nothing may be taken

    QTest::newRow("a day") << QList<QByteArray>{"calendar 2026-07-26\n"} << QDate(2026, 7, 26);
    QTest::newRow("a day in two parts")
        << QList<QByteArray>{"calen", "dar 2026-07-26\n"} << QDate(2026, 7, 26);
    QTest::newRow("no such day") << QList<QByteArray>{"calendar 2026-02-30\n"} << QDate();
    QTest::newRow("not as ISO writes it") << QList<QByteArray>{"calendar 2026-7-26\n"} << QDate();
    QTest::newRow("more after the day") << QList<QByteArray>{"calendar 2026-07-26 x\n"} << QDate();
    QTest::newRow("another request") << QList<QByteArray>{"search Anna\n"} << QDate();
    QTest::newRow("no line feed") << QList<QByteArray>{"calendar 2026-07-26"} << QDate();
    QTest::newRow("nothing") << QList<QByteArray>{} << QDate();
    QTest::newRow("a long line") << QList<QByteArray>{QByteArray(100'000, 'x') + '\n'} << QDate();
    QTest::newRow("a null byte") << QList<QByteArray>{QByteArray("calendar \0 2026-07-26\n", 22)}
                                 << QDate();
}

void Instance::requests()
{
    QFETCH(QList<QByteArray>, parts);
    QFETCH(QDate, day);

    RunningInstance instance(name);
    QVERIFY(instance.listen());
    QSignalSpy asked(&instance, &RunningInstance::calendarRequested);
    auto answered = std::async(std::launch::async, exchange, parts);
    QVERIFY(finishes(answered));
    QCOMPARE(answered.get(), day.isValid() ? QByteArray("ok\n") : QByteArray());
    QCOMPARE(asked.count(), day.isValid() ? 1 : 0);
    if (day.isValid())
        QCOMPARE(asked.first().first().toDate(), day);
}

// A client that connects and says nothing neither holds up the windows nor the next start.
void Instance::silentClientHoldsNothingUp()
{
    RunningInstance instance(name);
    QVERIFY(instance.listen());
    QSignalSpy asked(&instance, &RunningInstance::calendarRequested);
    const int silent = connectedSocket();
    QVERIFY(silent >= 0);
    auto handed = std::async(std::launch::async,
                             [] { return handToRunningInstance(name, QDate(1900, 1, 1)); });
    QVERIFY(finishes(handed));
    QVERIFY(handed.get());
    QCOMPARE(asked.count(), 1);
    ::close(silent);
}

QTEST_GUILESS_MAIN(Instance)
#include "tst_runninginstance.moc"
