#pragma once

#include <QDate>
#include <QObject>
#include <QString>

class QSocketNotifier;

// One Zorvat per user: a later start that asks for a day hands it to the Zorvat that runs,
// through a socket in the user's own runtime folder, instead of opening windows of its own.
// A plain Unix socket, so that listening costs the program's start nothing of Qt Network.
class RunningInstance : public QObject
{
    Q_OBJECT

public:
    // `name` names the socket: the program's id.
    explicit RunningInstance(const QString& name);
    ~RunningInstance() override;

    // Listens where later starts look. False where another instance already listens, or the
    // runtime folder cannot hold the socket; the program then runs on alone.
    bool listen();

Q_SIGNALS:
    // A later start asked for the calendar on a day of the calendar's range.
    void calendarRequested(const QDate& day);

private:
    void accept();

    QString m_name;
    QString m_path; // where it listens
    int m_socket = -1;
    QSocketNotifier* m_listening = nullptr;
};

// Hands the day to the instance that listens under `name`; false where none took it within a
// few seconds.
bool handToRunningInstance(const QString& name, const QDate& day);
