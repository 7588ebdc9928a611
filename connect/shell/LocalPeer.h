#pragma once
#include <QLockFile>
#include <QObject>

class QLocalServer;
class QLocalSocket;

// One instance per id and user: the first to take the lock file serves a local socket,
// later ones send it messages. A lock or socket left by a crashed instance, or a lock file
// that reads as nobody's, is taken over; where no lock can be made, every instance serves.
class LocalPeer : public QObject
{
    Q_OBJECT
public:
    // folder holds the lock file; the socket is named after id.
    LocalPeer(const QString &id, const QString &folder, QObject *parent = nullptr);

    // True when another instance serves; otherwise this one starts serving.
    bool isClient();
    // Delivers message to the serving instance; true when it was received within timeout ms.
    bool sendMessage(const QString &message, int timeout);

signals:
    void messageReceived(const QString &message);

private:
    enum class LockState { Owned, HeldByOther, Unavailable };

    LockState take_lock();
    bool lock_reads_as_live_owner() const;
    static bool is_this_machine(const QString &host);
    LockState take_over_lock();
    QString lock_path() const;
    void serve();
    void read_message(QLocalSocket *socket);
    bool connect_within(QLocalSocket *socket, int timeout);

    QString m_id;
    QString m_folder;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};
