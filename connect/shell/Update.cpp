#include "Update.h"

#include "ProgramVersion.h"
#include "UpdateFiles.h"
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
// What a package answer may hold in memory: the rest waits on the network until it is written.
constexpr qint64 kPackageReadBufferBytes = 256 * 1024;

constexpr int kPartialContent = 206;
constexpr int kOk = 200;
constexpr int kRangeNotSatisfiable = 416;

int status_of(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// -1 when the answer states none.
qint64 content_length_of(const QNetworkReply *reply)
{
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() ? length.toLongLong() : -1;
}

// What identifies the package's version on the server: a strong ETag, else Last-Modified.
QByteArray validator_of(const QNetworkReply *reply)
{
    const QByteArray etag = reply->rawHeader("ETag");
    if (!etag.isEmpty() && !etag.startsWith("W/"))
        return etag;
    return reply->rawHeader("Last-Modified");
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
    m_versionReply->setReadBufferSize(kMaxVersionFileBytes + 1);
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
        qDebug().noquote() << "app need Update：" + version_text_of(m_offered);
        downloadFile();
    }
    qDebug() << "remote_fw_version:" << file.firmware;
}

void Update::downloadFile()
{
    const UpdateFiles files(m_downloadFolder);
    QDir().mkpath(m_downloadFolder);
    m_packagePath = files.package();
    qDebug() << "download to" << m_packagePath;
    m_partialPath = files.partial();
    qDebug() << m_partialPath;
    files.keep_only(m_offered);
    if (QFileInfo(m_partialPath).size() > kMaxPackageBytes) {
        qDebug() << "partial file" << m_partialPath << "is larger than a package can be; deleted";
        QFile::remove(m_partialPath);
    }
    if (QFile::exists(m_packagePath)) {
        unpack_package();  // complete already: not downloaded again
        return;
    }
    // A partial file resumes only with the validator of its first answer.
    const QByteArray validator = files.read_record().validator;
    const QFileInfo partial(m_partialPath);
    if (partial.exists() && validator.isEmpty())
        QFile::remove(m_partialPath);
    request_package(partial.exists() && !validator.isEmpty() ? partial.size() : 0, validator);
}

void Update::request_package(qint64 offset, const QByteArray &validator)
{
    m_resumeOffset = offset;
    m_validator = validator;
    m_body = Body::Undecided;
    QNetworkRequest request = request_for(url_of(kPackageName));
    request.setRawHeader("Range", QStringLiteral("bytes=%1-").arg(m_resumeOffset).toLatin1());
    if (m_resumeOffset > 0)
        request.setRawHeader("If-Range", m_validator);
    m_packageReply = m_network->get(request);
    m_packageReply->setReadBufferSize(kPackageReadBufferBytes);
    connect(m_packageReply, &QNetworkReply::readyRead, this, &Update::onReadyRead);
    connect(m_packageReply, &QNetworkReply::finished, this, &Update::onFinished);
}

// A validator in the answer that is not the partial file's: the server holds another package.
bool Update::answer_validator_differs() const
{
    const QByteArray answered = validator_of(m_packageReply);
    return !answered.isEmpty() && answered != m_validator;
}

// 206 continues the partial file, but only from where it ends; 200 is the whole package
// again; anything else is no part of the package. Also notes the package's full size.
void Update::decide_body()
{
    const int status = status_of(m_packageReply);
    m_packageSize = -1;
    if (status == kOk || (status == kPartialContent && m_resumeOffset == 0)) {
        // The first answer of a new partial file: its validator is kept with it.
        m_validator = validator_of(m_packageReply);
        UpdateFiles(m_downloadFolder).write_record({m_offered, m_validator});
    }
    if (status == kOk) {
        m_body = Body::Restart;
        m_packageSize = content_length_of(m_packageReply);
        return;
    }
    m_body = Body::Discard;
    if (status != kPartialContent)
        return;
    // "bytes <first>-<last>/<size>"
    const QByteArray range = m_packageReply->rawHeader("Content-Range");
    if (!range.startsWith("bytes " + QByteArray::number(m_resumeOffset) + '-')) {
        qDebug() << "package range" << range << "does not continue at" << m_resumeOffset;
        return;
    }
    if (answer_validator_differs()) {
        qDebug() << "package changed on the server";
        return;
    }
    m_body = Body::Append;
    bool known = false;
    const qint64 size = range.mid(range.indexOf('/') + 1).toLongLong(&known);
    if (range.contains('/') && known)
        m_packageSize = size;
}

// Before the first byte: an answer that states more than a package can be is not taken.
bool Update::announced_too_large() const
{
    if (m_body == Body::Discard)
        return false;
    const qint64 length = content_length_of(m_packageReply);
    const qint64 end = m_body == Body::Restart ? length : m_resumeOffset + length;
    return m_packageSize > kMaxPackageBytes || end > kMaxPackageBytes;
}

// The partial file goes with the answer: it would only be resumed at every start.
void Update::refuse_package(const char *reason)
{
    qDebug() << "package refused:" << reason << "(at most" << kMaxPackageBytes << "bytes)";
    QFile::remove(m_partialPath);
    stop_package();
}

// No more of the answer is read; its status still decides what follows.
void Update::stop_package()
{
    m_body = Body::Discard;
    m_packageReply->abort();
}

void Update::onReadyRead()
{
    if (m_body == Body::Undecided) {
        decide_body();
        if (announced_too_large())
            return refuse_package("its answer states more");
    }
    if (m_body == Body::Discard)
        return stop_package();
    write_body();
}

// Takes what the reply holds (at most its read buffer) into the partial file.
void Update::write_body()
{
    QFile partial(m_partialPath);
    const QIODevice::OpenMode mode =
        m_body == Body::Restart ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::WriteOnly | QIODevice::Append;
    if (!partial.open(mode)) {
        qDebug() << "cannot write" << m_partialPath << partial.errorString();
        return stop_package();
    }
    m_body = Body::Append;
    const QByteArray bytes = m_packageReply->readAll();
    if (partial.size() + bytes.size() > kMaxPackageBytes) {
        partial.close();
        return refuse_package("more bytes came");
    }
    if (partial.write(bytes) != bytes.size()) {
        qDebug() << "cannot write" << m_partialPath << partial.errorString();
        stop_package();
    }
}

void Update::onFinished()
{
    m_packageReply->deleteLater();
    if (m_body != Body::Discard)
        onReadyRead();  // bytes that came with the end
    const int status = status_of(m_packageReply);
    if (status == kRangeNotSatisfiable && m_resumeOffset > 0) {
        if (complete_by_416())
            finish_package();
        else
            start_again();
        return;
    }
    const bool failed = m_packageReply->error() != QNetworkReply::NoError;
    if (failed)
        qDebug() << "__________" + m_packageReply->errorString();
    if (m_body != Body::Append) {
        qDebug() << "package answer" << status << "discarded";
        if (status == kPartialContent && m_resumeOffset > 0 && answer_validator_differs())
            start_again();
        return;
    }
    if (failed)
        return;
    // A connection closed early can end without an error.
    const qint64 received = QFileInfo(m_partialPath).size();
    if (m_packageSize >= 0 && received != m_packageSize) {
        qDebug() << "package incomplete:" << received << "of" << m_packageSize << "bytes";
        return;
    }
    finish_package();
}

// "bytes */<size>" of the partial file's size, from the server holding the same package.
bool Update::complete_by_416() const
{
    const QByteArray range = m_packageReply->rawHeader("Content-Range").trimmed();
    bool known = false;
    const qint64 size = range.startsWith("bytes */") ? range.mid(8).toLongLong(&known) : -1;
    return known && size == QFileInfo(m_partialPath).size() && !answer_validator_differs();
}

// Once per pass: the partial file is dropped and the package asked for from its start.
void Update::start_again()
{
    if (m_startedAgain)
        return;
    m_startedAgain = true;
    qDebug() << "partial file" << m_partialPath << "is not of this package; starting again";
    QFile::remove(m_partialPath);
    request_package(0, QByteArray());
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

// Unpacks into a folder of its own, emptied first, and offers the installer only when this
// package held it.
void Update::unpack_package()
{
    const UpdateFiles files(m_downloadFolder);
    const QString installer = files.installer(m_offered);
    QDir(files.unpack_folder()).removeRecursively();
    const QStringList extracted = JlCompress::extractDir(m_packagePath, files.unpack_folder());
    const bool found = std::any_of(extracted.begin(), extracted.end(), [&installer](const QString &path) {
        return QFileInfo(path).absoluteFilePath() == installer;
    });
    if (!found || !QFileInfo(installer).isFile()) {
        // Deleted, so that the next check downloads it again rather than retrying this file.
        qDebug() << "package" << m_packagePath << "does not unpack to" << installer_name_of(m_offered)
                 << "and is deleted";
        QDir(files.unpack_folder()).removeRecursively();
        QFile::remove(m_packagePath);
        return;
    }
    qDebug() << "Get updatefile Finished.";
    emit signalGetUpdateFinished(installer);
}
