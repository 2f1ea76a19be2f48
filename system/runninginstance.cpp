#include "system/runninginstance.h"

#include "dates/datetexts.h"

#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
constexpr int answerWait = 3000; // ms: a running Zorvat answers at once, or is stuck
constexpr qsizetype longestRequest = 64;
constexpr int mostWaiting = 8;
constexpr QByteArrayView calendarRequest = "calendar ";
constexpr QByteArrayView accepted = "ok\n";

// In the user's own runtime folder, which nobody else may enter.
bool addressOf(const QString& name, sockaddr_un& address, QString& path)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return false;
    path = folder + u'/' + name;
    const QByteArray file = QFile::encodeName(path);
    if (file.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, file.constData(), size_t(file.size()));
    return true;
}

int connectedTo(const sockaddr_un& address)
{
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket < 0)
        return -1;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket);
        return -1;
    }
    return socket;
}

bool fromThisUser(int socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == geteuid();
}

// One later start's request, "calendar 2026-07-26" and a line feed, read as it comes so that a
// client that sends nothing cannot hold the windows up; answered "ok" once taken.
class Request : public QObject
{
    Q_OBJECT

public:
    Request(int socket, RunningInstance* instance)
        : QObject(instance)
        , m_socket(socket)
        , m_readable(socket, QSocketNotifier::Read)
    {
        connect(&m_readable, &QSocketNotifier::activated, this,
                [this, instance] { read(instance); });
        QTimer::singleShot(answerWait, this, &QObject::deleteLater);
    }
    ~Request() override
    {
        m_readable.setEnabled(false);
        ::close(m_socket);
    }

private:
    void read(RunningInstance* instance)
    {
        char bytes[longestRequest];
        const ssize_t size = ::read(m_socket, bytes, size_t(longestRequest - m_text.size()));
        if (size < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        m_readable.setEnabled(false);
        if (size > 0)
            m_text.append(bytes, size);
        if (const qsizetype end = m_text.indexOf('\n'); end >= 0)
            take(m_text.first(end), instance);
        else if (size > 0 && m_text.size() < longestRequest)
            m_readable.setEnabled(true);
        if (!m_readable.isEnabled())
            deleteLater();
    }

    void take(QByteArrayView line, RunningInstance* instance)
    {
        if (!line.startsWith(calendarRequest))
            return;
        const QDate day = isoDay(QString::fromLatin1(line.sliced(calendarRequest.size())));
        if (!day.isValid())
            return;
        ::send(m_socket, accepted.data(), size_t(accepted.size()), MSG_NOSIGNAL);
        Q_EMIT instance->calendarRequested(day);
    }

    int m_socket;
    QSocketNotifier m_readable;
    QByteArray m_text;
};
} // namespace

RunningInstance::RunningInstance(const QString& name)
    : m_name(name)
{
}

RunningInstance::~RunningInstance()
{
    if (m_socket < 0)
        return;
    ::close(m_socket);
    ::unlink(QFile::encodeName(m_path).constData());
}

bool RunningInstance::listen()
{
    if (m_socket >= 0)
        return true;
    sockaddr_un address;
    QString path;
    if (!addressOf(m_name, address, path))
        return false;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket < 0)
        return false;
    const auto bound = [&] {
        return ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    };
    bool listening = bound();
    // A socket that nobody answers on is left from a Zorvat that did not end as it should.
    if (!listening && errno == EADDRINUSE) {
        if (const int other = connectedTo(address); other >= 0)
            ::close(other);
        else if (::unlink(address.sun_path) == 0)
            listening = bound();
    }
    if (!listening || ::listen(socket, mostWaiting) != 0) {
        ::close(socket);
        return false;
    }
    m_socket = socket;
    m_path = path;
    m_listening = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    connect(m_listening, &QSocketNotifier::activated, this, &RunningInstance::accept);
    return true;
}

void RunningInstance::accept()
{
    const int client = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0)
        return;
    if (!fromThisUser(client) || findChildren<Request*>().size() >= mostWaiting) {
        ::close(client);
        return;
    }
    new Request(client, this);
}

bool handToRunningInstance(const QString& name, const QDate& day)
{
    sockaddr_un address;
    QString path;
    if (!addressOf(name, address, path))
        return false;
    const int socket = connectedTo(address);
    if (socket < 0)
        return false;
    const QByteArray request =
        calendarRequest.toByteArray() + day.toString(Qt::ISODate).toLatin1() + '\n';
    char answer[accepted.size()];
    ssize_t size = -1;
    pollfd readable{socket, POLLIN, 0};
    if (::send(socket, request.constData(), size_t(request.size()), MSG_NOSIGNAL) ==
            request.size() &&
        ::poll(&readable, 1, answerWait) == 1)
        size = ::recv(socket, answer, sizeof answer, MSG_WAITALL);
    ::close(socket);
    return size == accepted.size() && QByteArrayView(answer, size) == accepted;
}

#include "runninginstance.moc"
