#pragma once
#include <QByteArray>
#include <QString>

// The update's files in its download folder: the package "TAVRI_CONNECT_PC.zip", its partial
// file (".tmp"), a record of the version they belong to and the validator (ETag or
// Last-Modified) of the server's first answer, and the folder the package is unpacked into.
class UpdateFiles
{
public:
    struct Record {
        int version = 0;  // 0: no record
        QByteArray validator;
    };

    explicit UpdateFiles(const QString &download_folder);

    QString package() const;
    QString partial() const;
    QString unpack_folder() const;
    // The installer of version where the package is unpacked.
    QString installer(int version) const;

    Record read_record() const;
    bool write_record(const Record &record) const;
    // Removes the package, the partial file and the record unless the record names version.
    void keep_only(int version) const;
    // At start-up: removes the downloads and installers (unpacked, or left in the download
    // folder itself) that are not newer than this program; returns the newest installer that
    // is, or an empty text.
    QString clean_up() const;

private:
    QString path_of(const QString &name) const;
    void remove_download() const;

    QString m_folder;
};
