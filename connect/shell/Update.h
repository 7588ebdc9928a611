#pragma once
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Checks once whether the server offers a newer connect and, if so, downloads its package
// (resuming a partial earlier download of the same package, checked with If-Range), unpacks it
// into a folder of its own and names the installer it held.
// Lives on a thread of its own; all its slots run there.
class Update : public QObject
{
    Q_OBJECT
public:
    // The maker's update server.
    static const QUrl default_server;

    // server: scheme and host the files are fetched from, under "/download/Rerivez/";
    // download_folder: where the package and its installer go, by default the
    // application-data folder.
    explicit Update(const QUrl &server = default_server, const QString &download_folder = QString(),
                    QObject *parent = nullptr);

signals:
    void signalGetVersionFinished();  // declared, never emitted
    // The absolute path of the installer, once the package has been unpacked.
    void signalGetUpdateFinished(QString filename);

public slots:
    void onReadyRead();
    void onFinished();
    void get_version_Finished();
    void downloadFile();
    void checkUpdate();

private:
    // What the package answer's bytes do to the partial file, decided by its status.
    enum class Body { Undecided, Append, Restart, Discard };

    QUrl url_of(const QString &file_name) const;
    void decide_body();
    bool announced_too_large() const;
    void refuse_package(const char *reason);
    void stop_package();
    void write_body();
    void request_package(qint64 offset, const QByteArray &validator);
    bool answer_validator_differs() const;
    bool complete_by_416() const;
    void start_again();
    void finish_package();
    void unpack_package();

    QNetworkAccessManager *m_network;
    QNetworkReply *m_packageReply = nullptr;
    QNetworkReply *m_versionReply = nullptr;
    QUrl m_server;
    QString m_downloadFolder;
    int m_offered = 0;
    qint64 m_resumeOffset = 0;
    QString m_packagePath;
    QString m_partialPath;
    QByteArray m_validator;  // of the partial file; empty when the server gave none
    bool m_startedAgain = false;
    Body m_body = Body::Undecided;
    qint64 m_packageSize = -1;  // as the answer states it, -1 when it does not
};
