// The update check against a local server: version files, download, resume, status
// handling and unpacking; and the main window offering what the worker found.
#include "FloodServer.h"
#include "UpdateServer.h"
#include "WidgetFixture.h"
#include "shell/App_Config_Widget.h"
#include "shell/Update.h"
#include "shell/UpdateFiles.h"
#include "shell/ProgramVersion.h"

#include "common/tests/FileBytes.h"
#include "common/tests/PrivateAppData.h"

#include <JlCompress.h>
#include <quazip.h>
#include <quazipfile.h>

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#include <psapi.h>
#endif

namespace {

constexpr int kWaitMs = 10000;
const QString kInstaller121 = "TAVRI_CONNECT_PC_V1.2.1.exe";
const QByteArray kVersion121 = "V1.2.1\nnotes\n10201\n1.0.3\n";

QStringList captured_log;

void capture(QtMsgType, const QMessageLogContext &, const QString &message)
{
    captured_log.append(message);
}

// A zip holding the given files (name -> content), with entry names as given.
QByteArray zip_of(const QList<QPair<QString, QByteArray>> &files)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("package.zip");
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return QByteArray();
    for (const auto &[name, content] : files) {
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name)))
            return QByteArray();
        entry.write(content);
        entry.close();
    }
    zip.close();
    return read_file(path);
}

// An installer big enough to arrive in several pieces.
QByteArray installer_bytes()
{
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += QByteArray::number(i * 7919);
    return bytes;
}

// One update pass against a server, with its download folder and log.
struct Pass {
    UpdateServer server;
    QTemporaryDir folder;

    QString path(const QString &name) const { return folder.filePath(name); }
    QString partial() const { return path("TAVRI_CONNECT_PC.zip.tmp"); }
    QString unpacked(const QString &name) const { return QDir(files().unpack_folder()).filePath(name); }
    UpdateFiles files() const { return UpdateFiles(folder.path()); }

    // A partial file left by an earlier pass for version 1.2.1, with its validator.
    void leave_partial(const QByteArray &bytes, const QByteArray &validator = "\"first\"", int version = 10201)
    {
        write_file(partial(), bytes);
        files().write_record({version, validator});
    }

    // Runs one check to its end, by default against server; returns the installers offered.
    QStringList run(int replies, const QUrl &url = QUrl())
    {
        captured_log.clear();
        Update update(url.isEmpty() ? server.url() : url, folder.path());
        QSignalSpy offered(&update, &Update::signalGetUpdateFinished);
        QSignalSpy finished(update.findChild<QNetworkAccessManager *>(), &QNetworkAccessManager::finished);
        qInstallMessageHandler(capture);
        update.checkUpdate();
        while (finished.count() < replies && finished.wait(kWaitMs)) {
        }
        qInstallMessageHandler(nullptr);
        QStringList names;
        for (const QList<QVariant> &signal : offered)
            names.append(signal.at(0).toString());
        return names;
    }
};

// This process's resident memory.
qint64 resident_bytes()
{
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)) ? qint64(counters.WorkingSetSize)
                                                                                 : 0;
#else
    QFile statm("/proc/self/statm");  // pages: total, resident, ...
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * 4096;
#endif
}

// The most resident memory seen while it lives. It samples every few milliseconds and then
// holds up its thread a moment, as a slow disk would.
struct PeakMemory {
    qint64 start = resident_bytes();
    qint64 peak = start;
    QTimer timer;

    PeakMemory()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            peak = qMax(peak, resident_bytes());
            QThread::msleep(10);
        });
        timer.start(5);
    }
    qint64 growth() const { return peak - start; }
};

// A file of that size that takes no room on disk.
void write_sparse_file(const QString &path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(size));
}

UpdateFiles app_data_files()
{
    return UpdateFiles(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace

class UpdateTest : public QObject
{
    Q_OBJECT
private slots:
    void version_files_data();
    void version_files();
    void download_from_scratch_offers_the_installer();
    void an_interrupted_download_resumes_where_it_stopped();
    void a_server_ignoring_the_range_restarts_the_file();
    void error_pages_leave_the_partial_file_as_it_was_data();
    void error_pages_leave_the_partial_file_as_it_was();
    void an_already_complete_file_is_unpacked();
    void packages_without_the_installer_offer_nothing_data();
    void packages_without_the_installer_offer_nothing();
    void a_version_file_error_is_logged();
    void the_window_offers_what_its_update_thread_found();
    void the_window_offers_an_unpacked_installer_while_offline();
    void a_partial_file_of_another_package_starts_again_data();
    void a_partial_file_of_another_package_starts_again();
    void a_package_holding_user_color_ini_leaves_the_presets_alone();
    void a_complete_package_is_not_downloaded_again();
    void start_up_cleaning_keeps_only_what_is_newer();
    void start_up_cleaning_covers_installers_of_the_old_layout();
    void a_package_that_does_not_unpack_is_downloaded_again_data();
    void a_package_that_does_not_unpack_is_downloaded_again();
    void answers_past_the_size_limit_are_refused_in_bounded_memory_data();
    void answers_past_the_size_limit_are_refused_in_bounded_memory();
    void a_partial_file_past_the_size_limit_is_not_resumed();
};

void UpdateTest::version_files_data()
{
    QTest::addColumn<QByteArray>("version_file");
    QTest::addColumn<QString>("installer");  // empty: no download

    QTest::newRow("newer") << kVersion121 << kInstaller121;
    QTest::newRow("one patch newer") << QByteArray("V1.1.1\n\n10101\n1.0.0\n") << "TAVRI_CONNECT_PC_V1.1.1.exe";
    QTest::newRow("same version") << QByteArray("V1.1.0\n\n10100\n1.0.0\n") << "";
    QTest::newRow("older version") << QByteArray("V1.0.9\n\n10009\n1.0.0\n") << "";
    QTest::newRow("CR LF lines") << QByteArray("V1.2.1\r\nnotes\r\n10201\r\n1.0.3\r\n") << kInstaller121;
    QTest::newRow("label V1 passes") << QByteArray("V1\n\n10201\n1.0.3") << kInstaller121;
    QTest::newRow("label v.1 fails") << QByteArray("v.1\n\n10201\n1.0.3\n") << "";
    QTest::newRow("label of one character") << QByteArray("V\n\n10201\n1.0.3\n") << "";
    QTest::newRow("three lines") << QByteArray("V1.2.1\nnotes\n10201") << "";
    QTest::newRow("version not a number") << QByteArray("V1.2.1\nnotes\nlatest\n1.0.3\n") << "";
    QTest::newRow("text after a NUL ignored") << QByteArray("V1.2.1\nnotes\n10201\n1.0.3\n", 25) + QByteArray(1, '\0')
                                                     + "junk\n"
                                              << kInstaller121;
    QTest::newRow("cut at a NUL") << QByteArray("V1.2.1\nnotes\n", 13) + QByteArray(1, '\0') + "10201\n1.0.3\n" << "";
}

void UpdateTest::version_files()
{
    QFETCH(QByteArray, version_file);
    QFETCH(QString, installer);
    Pass pass;
    pass.server.version_file = version_file;
    pass.server.package = zip_of({{installer, installer_bytes()}});
    const QStringList offered = pass.run(installer.isEmpty() ? 1 : 2);
    if (installer.isEmpty()) {
        QVERIFY(offered.isEmpty());
        QVERIFY(pass.server.package_ranges.isEmpty());
        return;
    }
    QCOMPARE(offered, QStringList{pass.unpacked(installer)});
    QCOMPARE(read_file(offered[0]), installer_bytes());
}

void UpdateTest::download_from_scratch_offers_the_installer()
{
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = zip_of({{kInstaller121, installer_bytes()}, {"readme.txt", "hello"}});
    const QStringList offered = pass.run(2);
    QCOMPARE(pass.server.package_ranges, QList<QByteArray>{"bytes=0-"});
    QCOMPARE(offered, QStringList{pass.unpacked(kInstaller121)});
    QVERIFY(QFileInfo(offered[0]).isAbsolute());
    QCOMPARE(read_file(pass.path("TAVRI_CONNECT_PC.zip")), pass.server.package);
    QVERIFY(!QFile::exists(pass.partial()));
    QVERIFY(captured_log.contains("remote_fw_version: \"1.0.3\""));
}

void UpdateTest::an_interrupted_download_resumes_where_it_stopped()
{
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = zip_of({{kInstaller121, installer_bytes()}});
    pass.server.package_answer = UpdateServer::PackageAnswer::CutHalfway;
    QVERIFY(pass.run(2).isEmpty());
    const QByteArray first_part = read_file(pass.partial());
    QVERIFY2(!first_part.isEmpty(), qPrintable(captured_log.join('\n')));
    QVERIFY(first_part.size() < pass.server.package.size());
    QVERIFY(pass.server.package.startsWith(first_part));

    pass.server.package_answer = UpdateServer::PackageAnswer::HonourRange;
    QCOMPARE(pass.run(2), QStringList{pass.unpacked(kInstaller121)});
    QCOMPARE(pass.server.package_ranges.last(), "bytes=" + QByteArray::number(first_part.size()) + "-");
    QCOMPARE(read_file(pass.path("TAVRI_CONNECT_PC.zip")), pass.server.package);
}

void UpdateTest::a_server_ignoring_the_range_restarts_the_file()
{
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = zip_of({{kInstaller121, installer_bytes()}});
    pass.server.package_answer = UpdateServer::PackageAnswer::IgnoreRange;
    pass.leave_partial(QByteArray(1000, 'x'));
    QCOMPARE(pass.run(2), QStringList{pass.unpacked(kInstaller121)});
    QCOMPARE(pass.server.package_ranges, QList<QByteArray>{"bytes=1000-"});
    QCOMPARE(read_file(pass.path("TAVRI_CONNECT_PC.zip")), pass.server.package);
}

void UpdateTest::error_pages_leave_the_partial_file_as_it_was_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("404") << int(UpdateServer::PackageAnswer::NotFound);
    QTest::newRow("500") << int(UpdateServer::PackageAnswer::ServerError);
    QTest::newRow("206 from another offset") << int(UpdateServer::PackageAnswer::WrongRange);
}

void UpdateTest::error_pages_leave_the_partial_file_as_it_was()
{
    QFETCH(int, answer);
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = zip_of({{kInstaller121, installer_bytes()}});
    pass.server.package_answer = UpdateServer::PackageAnswer(answer);
    const QByteArray first_part = pass.server.package.left(1000);
    pass.leave_partial(first_part);
    QVERIFY(pass.run(2).isEmpty());
    QCOMPARE(read_file(pass.partial()), first_part);
    QVERIFY(!QFile::exists(pass.path("TAVRI_CONNECT_PC.zip")));
}

void UpdateTest::an_already_complete_file_is_unpacked()
{
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = zip_of({{kInstaller121, installer_bytes()}});
    pass.leave_partial(pass.server.package);
    QCOMPARE(pass.run(2), QStringList{pass.unpacked(kInstaller121)});
    QCOMPARE(pass.server.package_ranges,
             QList<QByteArray>{"bytes=" + QByteArray::number(pass.server.package.size()) + "-"});
    QCOMPARE(read_file(pass.unpacked(kInstaller121)), installer_bytes());
}

void UpdateTest::packages_without_the_installer_offer_nothing_data()
{
    QTest::addColumn<QByteArray>("package");
    QTest::newRow("broken zip") << QByteArray("PK\x03\x04 this is no zip at all");
    QTest::newRow("another version's installer") << zip_of({{"TAVRI_CONNECT_PC_V1.2.0.exe", installer_bytes()}});
    QTest::newRow("installer in a subfolder") << zip_of({{"sub/" + kInstaller121, installer_bytes()}});
    QTest::newRow("entry climbing out of the folder") << zip_of({{"../" + kInstaller121, installer_bytes()}});
}

// Also with an installer of that name left by an earlier pass: it is never offered.
void UpdateTest::packages_without_the_installer_offer_nothing()
{
    QFETCH(QByteArray, package);
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = package;
    QDir().mkpath(pass.files().unpack_folder());
    write_file(pass.unpacked(kInstaller121), "stale installer");
    QVERIFY(pass.run(2).isEmpty());
    QVERIFY(!QFile::exists(pass.unpacked(kInstaller121)));
    QVERIFY(!QFile::exists(pass.path(kInstaller121)));
    QVERIFY(!QFile::exists(QFileInfo(pass.folder.path() + "/../" + kInstaller121).absoluteFilePath()));
}

void UpdateTest::a_version_file_error_is_logged()
{
    Pass pass;
    pass.server.version_file = "V1.2.1\nnotes\n10201";
    pass.run(1);
    QVERIFY2(!captured_log.filter("version file error:").isEmpty(), qPrintable(captured_log.join('\n')));

    // No server at all: the request fails and says so.
    Pass nowhere;
    nowhere.server.version_file = kVersion121;
    captured_log.clear();
    Update update(QUrl("http://127.0.0.1:1"), nowhere.folder.path());
    QSignalSpy finished(update.findChild<QNetworkAccessManager *>(), &QNetworkAccessManager::finished);
    qInstallMessageHandler(capture);
    update.checkUpdate();
    QVERIFY(finished.wait(kWaitMs));
    qInstallMessageHandler(nullptr);
    QVERIFY2(!captured_log.filter(QRegularExpression("__________\\w")).isEmpty(), qPrintable(captured_log.join('\n')));
}

void UpdateTest::the_window_offers_what_its_update_thread_found()
{
    UpdateServer server;
    server.version_file = kVersion121;
    server.package = zip_of({{kInstaller121, installer_bytes()}});
    WidgetFixture fixture;
    QPushButton *version = fixture.start(server.url()).software_page()->version_button();
    QTRY_COMPARE_WITH_TIMEOUT(version->text(), QString("发现新版本  "), kWaitMs);
    QVERIFY(QFile::exists(app_data_files().installer(10201)));
}

// The installer a pass left is offered at the next start, with no server to ask.
void UpdateTest::the_window_offers_an_unpacked_installer_while_offline()
{
    const UpdateFiles files = app_data_files();
    QDir().mkpath(files.unpack_folder());
    write_file(files.installer(10201), installer_bytes());
    WidgetFixture fixture;
    QCOMPARE(fixture.start(QUrl("http://127.0.0.1:1")).software_page()->version_button()->text(),
             QString("发现新版本  "));
    QDir(files.unpack_folder()).removeRecursively();
}

void UpdateTest::a_partial_file_of_another_package_starts_again_data()
{
    QTest::addColumn<int>("partial_change");  // bytes added to the package (> 0) or one byte flipped (0)
    QTest::addColumn<QByteArray>("validator");
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("honour_if_range");
    QTest::addColumn<bool>("resumes");       // the first request asks from the partial file's end
    QTest::addColumn<int>("requests");

    QTest::newRow("416 of another size") << 500 << QByteArray("\"first\"") << 10201 << true << true << 2;
    QTest::newRow("changed validator, If-Range honoured")
        << 0 << QByteArray("\"older\"") << 10201 << true << true << 1;
    QTest::newRow("changed validator in a 416") << 0 << QByteArray("\"older\"") << 10201 << false << true << 2;
    QTest::newRow("partial file without validator") << 0 << QByteArray() << 10201 << true << false << 1;
    QTest::newRow("partial file of another version") << 0 << QByteArray("\"first\"") << 10200 << true << false << 1;
}

// Each ends with the server's package unpacked, never the partial file's.
void UpdateTest::a_partial_file_of_another_package_starts_again()
{
    QFETCH(int, partial_change);
    QFETCH(QByteArray, validator);
    QFETCH(int, version);
    QFETCH(bool, honour_if_range);
    QFETCH(bool, resumes);
    QFETCH(int, requests);
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = zip_of({{kInstaller121, installer_bytes()}});
    pass.server.honour_if_range = honour_if_range;
    QByteArray partial = pass.server.package + QByteArray(partial_change, 'x');
    if (partial_change == 0)
        partial[partial.size() / 2] = char(partial[partial.size() / 2] ^ 0x55);
    pass.leave_partial(partial, validator, version);
    QCOMPARE(pass.run(requests + 1), QStringList{pass.unpacked(kInstaller121)});
    QCOMPARE(pass.server.package_ranges.size(), requests);
    QCOMPARE(pass.server.package_ranges.first(),
             resumes ? "bytes=" + QByteArray::number(partial.size()) + "-" : QByteArray("bytes=0-"));
    if (requests == 2)
        QCOMPARE(pass.server.package_ranges.last(), QByteArray("bytes=0-"));
    QCOMPARE(read_file(pass.path("TAVRI_CONNECT_PC.zip")), pass.server.package);
    QCOMPARE(read_file(pass.unpacked(kInstaller121)), installer_bytes());
}

void UpdateTest::a_package_holding_user_color_ini_leaves_the_presets_alone()
{
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = zip_of({{kInstaller121, installer_bytes()}, {"user_color.ini", "[COLOR1]\nRed=1\n"}});
    write_file(pass.path("user_color.ini"), "the user's presets");
    QCOMPARE(pass.run(2), QStringList{pass.unpacked(kInstaller121)});
    QCOMPARE(read_file(pass.path("user_color.ini")), QByteArray("the user's presets"));
}

void UpdateTest::a_complete_package_is_not_downloaded_again()
{
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = zip_of({{kInstaller121, installer_bytes()}});
    QCOMPARE(pass.run(2), QStringList{pass.unpacked(kInstaller121)});
    QFile::remove(pass.unpacked(kInstaller121));
    QCOMPARE(pass.run(1), QStringList{pass.unpacked(kInstaller121)});
    QCOMPARE(pass.server.package_ranges.size(), 1);
    QCOMPARE(read_file(pass.unpacked(kInstaller121)), installer_bytes());
}

void UpdateTest::start_up_cleaning_keeps_only_what_is_newer()
{
    Pass newer;
    newer.leave_partial("half a package");
    QDir().mkpath(newer.files().unpack_folder());
    for (const QString &name : QStringList{"TAVRI_CONNECT_PC_V1.0.9.exe", "TAVRI_CONNECT_PC_V1.1.0.exe", "TAVRI_CONNECT_PC_V1.2.0.exe",
                                "TAVRI_CONNECT_PC_V1.10.0.exe"})
        write_file(newer.unpacked(name), "installer");
    QCOMPARE(newer.files().clean_up(), newer.unpacked("TAVRI_CONNECT_PC_V1.10.0.exe"));
    QCOMPARE(QDir(newer.files().unpack_folder()).entryList(QDir::Files),
             QStringList({"TAVRI_CONNECT_PC_V1.10.0.exe", "TAVRI_CONNECT_PC_V1.2.0.exe"}));
    QVERIFY(QFile::exists(newer.partial()));

    Pass installed;  // the version this program is
    installed.leave_partial("half a package", "\"first\"", ProgramVersion::own_number());
    write_file(installed.path("TAVRI_CONNECT_PC.zip"), "package");
    QCOMPARE(installed.files().clean_up(), QString());
    QCOMPARE(QDir(installed.folder.path()).entryList(QDir::Files), QStringList());
}

// Earlier versions unpacked into the download folder itself.
void UpdateTest::start_up_cleaning_covers_installers_of_the_old_layout()
{
    Pass pass;
    for (const char *name : {"TAVRI_CONNECT_PC_V1.0.9.exe", "TAVRI_CONNECT_PC_V1.1.0.exe", "TAVRI_CONNECT_PC_V1.2.0.exe"})
        write_file(pass.path(name), "installer");
    QCOMPARE(pass.files().clean_up(), pass.path("TAVRI_CONNECT_PC_V1.2.0.exe"));
    QCOMPARE(QDir(pass.folder.path()).entryList(QDir::Files), QStringList{"TAVRI_CONNECT_PC_V1.2.0.exe"});

    QDir().mkpath(pass.files().unpack_folder());
    write_file(pass.unpacked("TAVRI_CONNECT_PC_V1.2.1.exe"), "installer");
    QCOMPARE(pass.files().clean_up(), pass.unpacked("TAVRI_CONNECT_PC_V1.2.1.exe"));
}

void UpdateTest::a_package_that_does_not_unpack_is_downloaded_again_data()
{
    const QByteArray good = zip_of({{kInstaller121, installer_bytes()}});
    QByteArray bad_byte = good;
    bad_byte[bad_byte.size() / 2] = char(bad_byte[bad_byte.size() / 2] ^ 0x55);
    const QByteArray other = zip_of({{kInstaller121, QByteArray(installer_bytes()).replace('7', 'x')}});

    QTest::addColumn<QByteArray>("served");   // by the server at the first check
    QTest::addColumn<QByteArray>("partial");  // left by an earlier pass, with the server's validator
    QTest::newRow("truncated") << good.left(good.size() * 2 / 3) << QByteArray();
    QTest::newRow("one bad byte") << bad_byte << QByteArray();
    QTest::newRow("resumed over another package") << good << other.left(good.size() / 2);
}

// The broken package is deleted; the next check asks for it from its start.
void UpdateTest::a_package_that_does_not_unpack_is_downloaded_again()
{
    QFETCH(QByteArray, served);
    QFETCH(QByteArray, partial);
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = served;
    if (!partial.isEmpty())
        pass.leave_partial(partial);
    QVERIFY(pass.run(2).isEmpty());
    QCOMPARE(captured_log.filter("does not unpack").size(), 1);
    QVERIFY(!QFile::exists(pass.path("TAVRI_CONNECT_PC.zip")));
    QVERIFY(!QFile::exists(pass.partial()));

    pass.server.package = zip_of({{kInstaller121, installer_bytes()}});
    QCOMPARE(pass.run(2), QStringList{pass.unpacked(kInstaller121)});
    QCOMPARE(pass.server.package_ranges.last(), QByteArray("bytes=0-"));
    QCOMPARE(read_file(pass.unpacked(kInstaller121)), installer_bytes());
}

void UpdateTest::answers_past_the_size_limit_are_refused_in_bounded_memory_data()
{
    constexpr qint64 limit = 512LL * 1024 * 1024;
    const QByteArray closes = "Connection: close\r\n\r\n";
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<qint64>("partial");       // size of the partial file left before
    QTest::addColumn<qint64>("most_flooded");  // the client hangs up before more was sent

    QTest::newRow("200 stating 2 GiB") << "HTTP/1.1 200 OK\r\nContent-Length: 2147483648\r\n" + closes << qint64(0)
                                       << qint64(32) * 1024 * 1024;
    QTest::newRow("206 of a 2 GiB package")
        << "HTTP/1.1 206 Partial\r\nContent-Range: bytes 1000-2147483647/2147483648\r\n"
           "Content-Length: 2147482648\r\n" + closes
        << qint64(1000) << qint64(32) * 1024 * 1024;
    // Nothing stated: the bytes written reach the limit.
    const qint64 resumed = limit - 96 * 1024 * 1024;
    QTest::newRow("206 of no stated size, past the limit")
        << "HTTP/1.1 206 Partial\r\nContent-Range: bytes " + QByteArray::number(resumed) + "-9999999999/*\r\n" + closes
        << resumed << qint64(128) * 1024 * 1024;
}

// Nothing of it is kept: a partial file would only be resumed at every start.
void UpdateTest::answers_past_the_size_limit_are_refused_in_bounded_memory()
{
    QFETCH(QByteArray, head);
    QFETCH(qint64, partial);
    QFETCH(qint64, most_flooded);
    Pass pass;
    FloodServer server(kVersion121, head, 1024LL * 1024 * 1024);
    if (partial > 0) {
        write_sparse_file(pass.partial(), partial);
        pass.files().write_record({10201, "\"first\""});
    }
    const PeakMemory memory;
    QVERIFY(pass.run(2, server.url()).isEmpty());
    QVERIFY2(memory.growth() < 32 * 1024 * 1024, qPrintable(QString::number(memory.growth())));
    QVERIFY2(server.flooded() < most_flooded, qPrintable(QString::number(server.flooded())));
    QVERIFY(!captured_log.filter("package refused").isEmpty());
    QVERIFY(!QFile::exists(pass.partial()));
    QVERIFY(!QFile::exists(pass.path("TAVRI_CONNECT_PC.zip")));
}

// As earlier versions grew it across starts.
void UpdateTest::a_partial_file_past_the_size_limit_is_not_resumed()
{
    Pass pass;
    pass.server.version_file = kVersion121;
    pass.server.package = zip_of({{kInstaller121, installer_bytes()}});
    write_sparse_file(pass.partial(), 512LL * 1024 * 1024 + 1);
    pass.files().write_record({10201, "\"first\""});
    QCOMPARE(pass.run(2), QStringList{pass.unpacked(kInstaller121)});
    QCOMPARE(pass.server.package_ranges, QList<QByteArray>{"bytes=0-"});
}

int main(int argc, char **argv)
{
    use_private_app_data();  // where the window's worker downloads
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qRegisterMetaType<QNetworkReply *>();
    UpdateTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_update.moc"
