#include "LocalPeer.h"

#include <QDataStream>
#include <QDebug>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSysInfo>
#include <QThread>

namespace {
constexpr char kAck = 'A';
constexpr int kConnectRetryMs = 20;
constexpr int kUnreadableLockGraceMs = 500;
constexpr int kLockPollMs = 20;
constexpr quint32 kMaxMessageBytes = 64 * 1024;

// A serialised QString starts with its byte count (0xFFFFFFFF for a null string).
bool announces_oversized_message(QLocalSocket *socket)
{
    QByteArray head = socket->peek(4);
    if (head.size() < 4)
        return false;
    quint32 size = 0;
    QDataStream(&head, QIODevice::ReadOnly) >> size;
    return size != 0xFFFFFFFFu && size > kMaxMessageBytes;
}
}

LocalPeer::LocalPeer(const QString &id, const QString &folder, QObject *parent)
    : QObject(parent)
    , m_id(id)
    , m_folder(folder)
    , m_lock(lock_path())
{
    // Only a dead owner makes the lock stale, never its age.
    m_lock.setStaleLockTime(0);
}

bool LocalPeer::isClient()
{
    if (m_server)
        return false;
    switch (take_lock()) {
    case LockState::HeldByOther:
        return true;
    case LockState::Owned:
        serve();
        return false;
    case LockState::Unavailable:
        break;
    }
    return false;  // runs on its own and serves nobody
}

// Qt takes over the lock of a dead owner itself. A lock file that does not read as a live
// owner's (empty, garbage, another machine's) is taken over too; a lock that cannot be made
// at all leaves this instance running without the check.
LocalPeer::LockState LocalPeer::take_lock()
{
    if (m_lock.tryLock(0))
        return LockState::Owned;
    if (m_lock.error() != QLockFile::LockFailedError) {
        qDebug() << "LocalPeer no lock file in" << m_folder << "(error" << m_lock.error()
                 << "), running without the single-instance check";
        return LockState::Unavailable;
    }
    // A starting owner writes its details right after creating the file: give it that time.
    const QDeadlineTimer deadline(kUnreadableLockGraceMs);
    while (!lock_reads_as_live_owner()) {
        if (deadline.hasExpired())
            return take_over_lock();
        QThread::msleep(kLockPollMs);
        if (m_lock.tryLock(0))  // the file went away meanwhile
            return LockState::Owned;
    }
    return LockState::HeldByOther;
}

bool LocalPeer::lock_reads_as_live_owner() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    // Qt has already found the process of a readable lock on this machine running.
    return m_lock.getLockInfo(&pid, &host, &application) && (host.isEmpty() || is_this_machine(host));
}

// Qt's lock file names the machine as the system spells it: on Windows that is COMPUTERNAME
// (in capitals, at most 15 characters), and Windows host names ignore letter case.
bool LocalPeer::is_this_machine(const QString &host)
{
#ifdef Q_OS_WIN
    return host.compare(qEnvironmentVariable("COMPUTERNAME"), Qt::CaseInsensitive) == 0
        || host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
#else
    return host == QSysInfo::machineHostName();
#endif
}

// Removal and the new lock happen under a second lock, so that two instances taking over
// at once never remove each other's fresh lock.
LocalPeer::LockState LocalPeer::take_over_lock()
{
    QLockFile removal(lock_path() + QStringLiteral(".rmlock"));
    if (!removal.tryLock(kUnreadableLockGraceMs))
        return LockState::HeldByOther;
    if (!lock_reads_as_live_owner()) {
        qDebug() << "LocalPeer lock file" << lock_path() << "is no live owner's, taking it over";
        m_lock.removeStaleLockFile();
    }
    if (m_lock.tryLock(0))
        return LockState::Owned;
    if (lock_reads_as_live_owner())
        return LockState::HeldByOther;
    qDebug() << "LocalPeer cannot replace" << lock_path() << "(error" << m_lock.error()
             << "), running without the single-instance check";
    return LockState::Unavailable;
}

QString LocalPeer::lock_path() const
{
    return m_folder + QLatin1Char('/') + m_id + QStringLiteral(".lock");
}

void LocalPeer::serve()
{
    QLocalServer::removeServer(m_id);  // a socket file left by a crashed instance
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_id))
        qDebug() << "LocalPeer cannot listen on" << m_id << m_server->errorString();
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read_message(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

// A message is a QDataStream QString; it is acknowledged with one byte.
void LocalPeer::read_message(QLocalSocket *socket)
{
    if (announces_oversized_message(socket)) {
        qDebug() << "LocalPeer message too large, connection dropped";
        socket->abort();
        return;
    }
    QDataStream stream(socket);
    stream.startTransaction();
    QString message;
    stream >> message;
    if (!stream.commitTransaction())
        return;
    socket->write(&kAck, 1);
    socket->flush();
    emit messageReceived(message);
}

bool LocalPeer::connect_within(QLocalSocket *socket, int timeout)
{
    // The serving instance may still be starting: retry until the deadline.
    const QDeadlineTimer deadline(timeout);
    for (;;) {
        socket->abort();
        socket->connectToServer(m_id);
        if (socket->waitForConnected(int(deadline.remainingTime())))
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kConnectRetryMs);
    }
}

bool LocalPeer::sendMessage(const QString &message, int timeout)
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    if (!connect_within(&socket, timeout))
        return false;
    QDataStream stream(&socket);
    stream << message;
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    return socket.waitForReadyRead(int(deadline.remainingTime())) && socket.read(1) == QByteArray(1, kAck);
}
