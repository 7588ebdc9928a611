#include "Update.h"

#include "ProgramVersion.h"
#include "UpdateVersionFile.h"

#include <JlCompress.h>

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString kUpdateFolder = QStringLiteral("/download/Rerivez/");
const QString kVersionFileName = QStringLiteral("TavriConnectUpdate.txt");
const QString kPackageName = QStringLiteral("TAVRI_CONNECT_PC.zip");

constexpr int kTransferTimeoutMs = 30000;  // without a byte for this long, a transfer fails
constexpr qint64 kMaxVersionFileBytes = 64 * 1024;
constexpr qint64 kMaxPackageBytes = 512LL * 1024 * 1024;

constexpr int kPartialContent = 206;
constexpr int kOk = 200;
constexpr int kRangeNotSatisfiable = 416;

int status_of(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

QNetworkRequest request_for(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    return request;
}

} // namespace

const QUrl Update::default_server(QStringLiteral("https://download.tavri.com"));

Update::Update(const QUrl &server, const QString &download_folder, QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_server(server)
    , m_downloadFolder(download_folder.isEmpty()
                           ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                           : download_folder)
{
}

QUrl Update::url_of(const QString &file_name) const
{
    QUrl url = m_server;
    url.setPath(kUpdateFolder + file_name);
    return url;
}

void Update::checkUpdate()
{
    m_versionReply = m_network->get(request_for(url_of(kVersionFileName)));
    connect(m_versionReply, &QNetworkReply::finished, this, &Update::get_version_Finished);
    connect(m_versionReply, &QNetworkReply::readyRead, this, [this] {
        if (m_versionReply->bytesAvailable() > kMaxVersionFileBytes) {
            qDebug() << "version file too large";
            m_versionReply->abort();
        }
    });
}

void Update::get_version_Finished()
{
    m_versionReply->deleteLater();
    if (m_versionReply->error() != QNetworkReply::NoError) {
        qDebug() << "__________" + m_versionReply->errorString();
        return;
    }
    const UpdateVersionFile file = UpdateVersionFile::parse(m_versionReply->readAll());
    qDebug() << file.lines;
    if (!file.valid) {
        qDebug() << "version file error:" << file.lines;
        return;
    }
    qDebug() << "server app ver:" << file.offered;
    if (file.offered > ProgramVersion::own_number()) {
        m_offered = file.offered;
        qDebug() << "app need Update：" << installer_name_of(m_offered);
        downloadFile();
    }
    qDebug() << "remote_fw_version:" << file.firmware;
}

void Update::downloadFile()
{
    QDir().mkpath(m_downloadFolder);
    m_packagePath = QDir(m_downloadFolder).absoluteFilePath(kPackageName);
    qDebug() << "download to" << m_packagePath;
    QFile::remove(m_packagePath);
    m_partialPath = m_packagePath + QStringLiteral(".tmp");
    qDebug() << m_partialPath;

    const QFileInfo partial(m_partialPath);
    m_resumeOffset = partial.exists() ? partial.size() : 0;
    m_body = Body::Undecided;
    QNetworkRequest request = request_for(url_of(kPackageName));
    request.setRawHeader("Range", QStringLiteral("bytes=%1-").arg(m_resumeOffset).toLatin1());
    m_packageReply = m_network->get(request);
    connect(m_packageReply, &QNetworkReply::readyRead, this, &Update::onReadyRead);
    connect(m_packageReply, &QNetworkReply::finished, this, &Update::onFinished);
}

// 206 continues the partial file, but only from where it ends; 200 is the whole package
// again; anything else is no part of the package.
Update::Body Update::body_kind() const
{
    const int status = status_of(m_packageReply);
    if (status == kOk)
        return Body::Restart;
    if (status != kPartialContent)
        return Body::Discard;
    const QByteArray range = m_packageReply->rawHeader("Content-Range");
    if (range.startsWith("bytes " + QByteArray::number(m_resumeOffset) + '-'))
        return Body::Append;
    qDebug() << "package range" << range << "does not continue at" << m_resumeOffset;
    return Body::Discard;
}

void Update::onReadyRead()
{
    if (m_body == Body::Undecided)
        m_body = body_kind();
    if (m_body == Body::Discard) {
        m_packageReply->readAll();
        return;
    }
    if (!write_body()) {
        m_body = Body::Discard;
        m_packageReply->abort();
    }
}

// False when the bytes cannot be kept: the partial file cannot be written or grows too large.
bool Update::write_body()
{
    QFile partial(m_partialPath);
    const QIODevice::OpenMode mode =
        m_body == Body::Restart ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::WriteOnly | QIODevice::Append;
    if (!partial.open(mode)) {
        qDebug() << "cannot write" << m_partialPath << partial.errorString();
        return false;
    }
    m_body = Body::Append;
    const QByteArray bytes = m_packageReply->readAll();
    if (partial.size() + bytes.size() > kMaxPackageBytes) {
        qDebug() << "package larger than" << kMaxPackageBytes << "bytes";
        return false;
    }
    return partial.write(bytes) == bytes.size();
}

void Update::onFinished()
{
    m_packageReply->deleteLater();
    onReadyRead();  // bytes that came with the end
    const int status = status_of(m_packageReply);
    // The partial file already holds the whole package.
    const bool complete = status == kRangeNotSatisfiable && m_resumeOffset > 0;
    if (!complete && m_packageReply->error() != QNetworkReply::NoError) {
        qDebug() << "__________" + m_packageReply->errorString();
        return;
    }
    if (!complete && m_body != Body::Append) {
        qDebug() << "package answer" << status << "discarded";
        return;
    }
    finish_package();
}

void Update::finish_package()
{
    if (!QFile::exists(m_partialPath))
        return;
    if (!QFile::rename(m_partialPath, m_packagePath)) {
        qDebug() << "cannot rename" << m_partialPath << "to" << m_packagePath;
        return;
    }
    unpack_package();
}

// Offers the installer only when this package held it: a file of that name from an earlier
// pass is removed first.
void Update::unpack_package()
{
    const QString installer = QDir(m_downloadFolder).absoluteFilePath(installer_name_of(m_offered));
    QFile::remove(installer);
    const QStringList extracted = JlCompress::extractDir(m_packagePath, m_downloadFolder);
    const bool found = std::any_of(extracted.begin(), extracted.end(), [&installer](const QString &path) {
        return QFileInfo(path).absoluteFilePath() == installer;
    });
    if (!found || !QFileInfo(installer).isFile()) {
        qDebug() << "package" << m_packagePath << "holds no" << installer_name_of(m_offered);
        return;
    }
    qDebug() << "Get updatefile Finished.";
    emit signalGetUpdateFinished(installer);
}
