#include "LocalPeer.h"

#include <QDataStream>
#include <QDebug>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {
constexpr char kAck = 'A';
constexpr int kConnectRetryMs = 20;
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
    , m_lock(folder + QLatin1Char('/') + id + QStringLiteral(".lock"))
{
    // Only a dead owner makes the lock stale, never its age.
    m_lock.setStaleLockTime(0);
}

bool LocalPeer::isClient()
{
    if (m_server)
        return false;
    if (!m_lock.tryLock(0))
        return true;
    serve();
    return false;
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
