#pragma once
// A hostile update server on a thread of its own, so that it sends while the client's thread
// is busy: the version file, then a package answer of the given head followed by zeros as fast
// as the connection takes them, until the limit or until the client hangs up.
#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

#include <atomic>

class FloodServer : public QThread
{
public:
    FloodServer(const QByteArray &version_file, const QByteArray &package_head, qint64 limit)
        : m_versionFile(version_file)
        , m_packageHead(package_head)
        , m_limit(limit)
    {
        m_server.listen(QHostAddress::LocalHost);
        m_server.moveToThread(this);
        m_url = QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
        start();
    }
    ~FloodServer() override { wait(); }

    QUrl url() const { return m_url; }
    qint64 flooded() const { return m_flooded; }  // package bytes handed to the connection

private:
    static constexpr int kWaitMs = 10000;

    void run() override
    {
        for (int answers = 0; answers < 2 && m_server.waitForNewConnection(kWaitMs);) {
            QTcpSocket *socket = m_server.nextPendingConnection();
            QByteArray request;
            while (!request.contains("\r\n\r\n") && socket->waitForReadyRead(kWaitMs))
                request += socket->readAll();
            if (request.startsWith("GET /download/Rerivez/TavriConnectUpdate.txt "))
                socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: "
                              + QByteArray::number(m_versionFile.size()) + "\r\n\r\n" + m_versionFile);
            else
                flood(socket);
            socket->disconnectFromHost();
            if (socket->state() != QAbstractSocket::UnconnectedState)
                socket->waitForDisconnected(kWaitMs);
            delete socket;
            ++answers;
        }
        m_server.close();
    }

    void flood(QTcpSocket *socket)
    {
        const QByteArray chunk(64 * 1024, '\0');
        socket->write(m_packageHead);
        while (m_flooded < m_limit && socket->state() == QAbstractSocket::ConnectedState) {
            socket->write(chunk);
            m_flooded += chunk.size();
            while (socket->bytesToWrite() > kQueueBytes && socket->waitForBytesWritten(kWaitMs)) {
            }
            if (socket->bytesToWrite() > kQueueBytes)
                return;  // the client stopped reading
        }
    }

    static constexpr qint64 kQueueBytes = 1024 * 1024;

    QTcpServer m_server;
    QUrl m_url;
    QByteArray m_versionFile;
    QByteArray m_packageHead;
    qint64 m_limit;
    std::atomic<qint64> m_flooded{0};
};
