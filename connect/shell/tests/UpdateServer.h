#pragma once
// A local HTTP server for the update check: the version file and the package under
// "/download/Rerivez/", with the package answer chosen by the test.
#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

class UpdateServer : public QObject
{
public:
    enum class PackageAnswer {
        HonourRange,   // 206 from the asked offset; 416 when it is at the end
        IgnoreRange,   // 200 with the whole package
        CutHalfway,    // 206, but the connection drops halfway through the body
        WrongRange,    // 206 from the start, whatever was asked
        NotFound,      // 404 with an error page
        ServerError,   // 500 with an error page
    };

    QByteArray version_file;
    QByteArray package;
    PackageAnswer package_answer = PackageAnswer::HonourRange;
    QByteArray etag = "\"first\"";  // sent with every package answer unless empty
    bool honour_if_range = true;     // an If-Range of another package gets the whole package
    QList<QByteArray> package_ranges;  // the Range header of each package request

    UpdateServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())); }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &request = m_requests[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> lines = request.left(request.indexOf("\r\n\r\n")).split('\n');
        const QByteArray path = lines.value(0).split(' ').value(1);
        QByteArray range;
        QByteArray if_range;
        for (const QByteArray &line : lines) {
            if (line.toLower().startsWith("range:"))
                range = line.mid(6).trimmed();
            if (line.toLower().startsWith("if-range:"))
                if_range = line.mid(9).trimmed();
        }
        m_requests.remove(socket);

        if (path == "/download/Rerivez/TavriConnectUpdate.txt")
            answer(socket, 200, version_file);
        else if (path == "/download/Rerivez/TAVRI_CONNECT_PC.zip")
            answer_package(socket, range, if_range);
        else
            answer(socket, 404, "<html>not here</html>");
    }

    void answer_package(QTcpSocket *socket, const QByteArray &range, const QByteArray &if_range)
    {
        package_ranges.append(range);
        const QByteArray validator = etag.isEmpty() ? QByteArray() : "ETag: " + etag + "\r\n";
        if (honour_if_range && !if_range.isEmpty() && if_range != etag)
            return answer(socket, 200, package, validator);
        const qint64 asked = range.startsWith("bytes=") ? range.mid(6, range.indexOf('-') - 6).toLongLong() : 0;
        const qint64 size = package.size();
        switch (package_answer) {
        case PackageAnswer::IgnoreRange:
            return answer(socket, 200, package, validator);
        case PackageAnswer::NotFound:
            return answer(socket, 404, "<html>not found</html>");
        case PackageAnswer::ServerError:
            return answer(socket, 500, "<html>server error</html>");
        case PackageAnswer::WrongRange:
            return answer(socket, 206, package, content_range(0, size) + validator);
        case PackageAnswer::HonourRange:
        case PackageAnswer::CutHalfway:
            break;
        }
        if (asked >= size)
            return answer(socket, 416, QByteArray(),
                          "Content-Range: bytes */" + QByteArray::number(size) + "\r\n" + validator);
        const QByteArray rest = package.mid(int(asked));
        if (package_answer == PackageAnswer::HonourRange)
            return answer(socket, 206, rest, content_range(asked, size) + validator);
        socket->write(head(206, rest.size(), content_range(asked, size) + validator) + rest.left(rest.size() / 2));
        socket->flush();
        // The line drops a moment later, once the client has taken what came.
        QTimer::singleShot(kCutAfterMs, socket, [socket] { socket->disconnectFromHost(); });
    }

    static QByteArray content_range(qint64 from, qint64 size)
    {
        return "Content-Range: bytes " + QByteArray::number(from) + '-' + QByteArray::number(size - 1) + '/'
            + QByteArray::number(size) + "\r\n";
    }

    static QByteArray head(int status, qint64 length, const QByteArray &extra = QByteArray())
    {
        return "HTTP/1.1 " + QByteArray::number(status) + " Status\r\nContent-Length: " + QByteArray::number(length)
            + "\r\nConnection: close\r\n" + extra + "\r\n";
    }

    static void answer(QTcpSocket *socket, int status, const QByteArray &body, const QByteArray &extra = QByteArray())
    {
        socket->write(head(status, body.size(), extra) + body);
        socket->disconnectFromHost();
    }

    static constexpr int kCutAfterMs = 200;

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_requests;
};
