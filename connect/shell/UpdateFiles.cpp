#include "UpdateFiles.h"

#include "InstallerCleanup.h"
#include "ProgramVersion.h"
#include "UpdateVersionFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

const QString kPackageName = QStringLiteral("TAVRI_CONNECT_PC.zip");
const QString kRecordName = QStringLiteral("TAVRI_CONNECT_PC.zip.version");
const QString kUnpackFolderName = QStringLiteral("TAVRI_CONNECT_PC");
constexpr qint64 kMaxRecordBytes = 1024;

} // namespace

UpdateFiles::UpdateFiles(const QString &download_folder)
    : m_folder(download_folder)
{
}

QString UpdateFiles::path_of(const QString &name) const
{
    return QDir(m_folder).absoluteFilePath(name);
}

QString UpdateFiles::package() const
{
    return path_of(kPackageName);
}

QString UpdateFiles::partial() const
{
    return package() + QStringLiteral(".tmp");
}

QString UpdateFiles::unpack_folder() const
{
    return path_of(kUnpackFolderName);
}

QString UpdateFiles::installer(int version) const
{
    return QDir(unpack_folder()).absoluteFilePath(installer_name_of(version));
}

// Two lines: the version number and the validator.
UpdateFiles::Record UpdateFiles::read_record() const
{
    QFile file(path_of(kRecordName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.read(kMaxRecordBytes).split('\n');
    Record record;
    record.version = lines.value(0).trimmed().toInt();
    record.validator = lines.value(1).trimmed();
    return record;
}

bool UpdateFiles::write_record(const Record &record) const
{
    QSaveFile file(path_of(kRecordName));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QByteArray::number(record.version) + '\n' + record.validator + '\n');
    return file.commit();
}

void UpdateFiles::remove_download() const
{
    QFile::remove(package());
    QFile::remove(partial());
    QFile::remove(path_of(kRecordName));
}

void UpdateFiles::keep_only(int version) const
{
    if (read_record().version != version)
        remove_download();
}

QString UpdateFiles::clean_up() const
{
    if (read_record().version <= ProgramVersion::own_number())
        remove_download();
    QString newest;
    // Earlier versions unpacked into the download folder itself.
    for (const QDir &folder : {QDir(m_folder), QDir(unpack_folder())})
        for (const QString &name : clean_up_installers(folder))
            if (newest.isEmpty() || installer_version(name) > installer_version(QFileInfo(newest).fileName()))
                newest = folder.absoluteFilePath(name);
    return newest;
}
