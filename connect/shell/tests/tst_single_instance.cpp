// One connect per user: the local peer, window activation, and real program starts.
#include "shell/ConnectMain.h"
#include "shell/LocalPeer.h"
#include "shell/QtSingleApplication.h"

#include "common/tests/FileBytes.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <future>
#include <memory>
#include <vector>

namespace {

constexpr int kWaitMs = 20000;
// connect links no offscreen platform on Windows.
#ifdef Q_OS_WIN
constexpr char kProgramPlatform[] = "windows";
#else
constexpr char kProgramPlatform[] = "offscreen";
#endif

QStringList captured_log;

void capture(QtMsgType, const QMessageLogContext &, const QString &message)
{
    captured_log.append(message);
}

QByteArray swapped_case(const QByteArray &text)
{
    const QByteArray upper = text.toUpper();
    const QByteArray lower = text.toLower();
    QByteArray swapped = text;
    for (int i = 0; i < text.size(); ++i)
        swapped[i] = text[i] == upper[i] ? lower[i] : upper[i];
    return swapped;
}

// connect's start-up writes its version only when it becomes the running instance.
bool became_primary(QProcess &process)
{
    return process.readAllStandardError().contains("\"1.1.0\"");
}

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void the_first_peer_serves_and_later_ones_send();
    void a_message_raises_the_activation_window();
    void a_second_start_hands_over_and_exits();
    void of_four_simultaneous_starts_one_remains();
    void a_start_after_a_killed_primary_becomes_primary();
    void a_lock_file_of_no_live_owner_is_taken_over_data();
    void a_lock_file_of_no_live_owner_is_taken_over();
    void a_live_lock_names_this_machine_in_any_letter_case_data();
    void a_live_lock_names_this_machine_in_any_letter_case();
    void without_a_lock_every_peer_runs();
    void a_start_over_a_garbage_lock_becomes_primary();
    void a_start_where_no_lock_can_be_made_runs_and_says_why_data();
    void a_start_where_no_lock_can_be_made_runs_and_says_why();
    void the_application_name_does_not_follow_the_executable();

private:
    std::unique_ptr<QProcess> start_connect(const QString &tmp_folder = QString());
    // log, when given, gets the program's debug output seen meanwhile.
    bool wait_until_primary(QProcess &process, QByteArray *log = nullptr);

    QTemporaryDir m_tmp;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

void SingleInstanceTest::initTestCase()
{
    QVERIFY(m_tmp.isValid());
}

void SingleInstanceTest::cleanup()
{
    for (auto &process : m_processes) {
        process->kill();
        process->waitForFinished(kWaitMs);
    }
    m_processes.clear();
}

std::unique_ptr<QProcess> SingleInstanceTest::start_connect(const QString &tmp_folder)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString private_tmp = tmp_folder.isEmpty() ? m_tmp.path() : tmp_folder;  // private lock and socket
    for (const char *name : {"TMPDIR", "TMP", "TEMP"})
        environment.insert(name, private_tmp);
    environment.insert("QT_QPA_PLATFORM", kProgramPlatform);
    environment.insert("QT_FORCE_STDERR_LOGGING", "1");  // a Windows GUI program logs to the debugger otherwise
    environment.insert("CONNECT_UPDATE_SERVER", "");  // offline
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(m_tmp.path());
    process->setReadChannel(QProcess::StandardError);  // where the debug log goes
    process->start(CONNECT_PROGRAM, QStringList());
    return process;
}

bool SingleInstanceTest::wait_until_primary(QProcess &process, QByteArray *log)
{
    QByteArray own_log;
    QByteArray &seen = log ? *log : own_log;
    QDeadlineTimer deadline(kWaitMs);
    while (!deadline.hasExpired() && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(int(deadline.remainingTime()));
        seen += process.readAllStandardError();
        if (seen.contains("\"1.1.0\""))
            return true;
    }
    return false;
}

void SingleInstanceTest::the_first_peer_serves_and_later_ones_send()
{
    const QString id = "peer-test";
    LocalPeer first(id, m_tmp.path());
    QVERIFY(!first.isClient());
    QVERIFY(!first.isClient());  // asking again keeps serving

    QSignalSpy received(&first, &LocalPeer::messageReceived);
    auto sent = std::async(std::launch::async, [&] {
        LocalPeer second(id, m_tmp.path());
        return second.isClient() && second.sendMessage("raise_window_noop", kWaitMs);
    });
    QVERIFY(received.wait(kWaitMs));
    QCOMPARE(received[0][0].toString(), QString("raise_window_noop"));
    QVERIFY(sent.get());

    // A client announcing a huge message is dropped; the peer keeps serving.
    QLocalSocket flood;
    flood.connectToServer(id);
    QVERIFY(flood.waitForConnected(kWaitMs));
    flood.write(QByteArray::fromHex("7ffffff0") + QByteArray(64, 'x'));
    flood.waitForBytesWritten(kWaitMs);  // false when the peer drops it before all is written
    QTRY_COMPARE_WITH_TIMEOUT(flood.state(), QLocalSocket::UnconnectedState, kWaitMs);
    auto again = std::async(std::launch::async, [&] {
        LocalPeer third(id, m_tmp.path());
        return third.isClient() && third.sendMessage("second", kWaitMs);
    });
    QVERIFY(received.wait(kWaitMs));
    QCOMPARE(received.last()[0].toString(), QString("second"));
    QVERIFY(again.get());
    QCOMPARE(received.count(), 2);

    // Nobody serves another id: sending fails within its time-out.
    LocalPeer lonely("peer-test-none", m_tmp.path());
    QVERIFY(!lonely.sendMessage("x", 200));
}

void SingleInstanceTest::a_message_raises_the_activation_window()
{
    auto *app = qobject_cast<QtSingleApplication *>(qApp);
    QVERIFY(app);
    QVERIFY(!app->isRunning());
    QWidget window;
    app->setActivationWindow(&window, true);
    window.showMinimized();
    window.hide();

    QSignalSpy received(app, &QtSingleApplication::messageReceived);
    const QString id = QtSingleApplication::instance_id(QCoreApplication::applicationFilePath());
    auto sent = std::async(std::launch::async, [&] {
        LocalPeer other(id, QDir::tempPath());
        return other.isClient() && other.sendMessage("anything at all", kWaitMs);
    });
    QVERIFY(received.wait(kWaitMs));
    QVERIFY(sent.get());
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());
}

void SingleInstanceTest::a_second_start_hands_over_and_exits()
{
    m_processes.push_back(start_connect());
    QVERIFY(wait_until_primary(*m_processes[0]));

    m_processes.push_back(start_connect());
    QProcess &second = *m_processes[1];
    QVERIFY(second.waitForFinished(kWaitMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(!became_primary(second));
    QCOMPARE(m_processes[0]->state(), QProcess::Running);
}

void SingleInstanceTest::of_four_simultaneous_starts_one_remains()
{
    for (int i = 0; i < 4; ++i)
        m_processes.push_back(start_connect());
    int primaries = 0;
    int exited = 0;
    for (auto &process : m_processes) {
        if (wait_until_primary(*process)) {
            ++primaries;
            continue;
        }
        QVERIFY(process->state() == QProcess::NotRunning || process->waitForFinished(kWaitMs));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
        ++exited;
    }
    QCOMPARE(exited, 3);
    QCOMPARE(primaries, 1);
}

void SingleInstanceTest::a_start_after_a_killed_primary_becomes_primary()
{
    m_processes.push_back(start_connect());
    QVERIFY(wait_until_primary(*m_processes[0]));
    m_processes[0]->kill();  // leaves its lock file and socket behind
    QVERIFY(m_processes[0]->waitForFinished(kWaitMs));

    m_processes.push_back(start_connect());
    QVERIFY(wait_until_primary(*m_processes[1]));
    QCOMPARE(m_processes[1]->state(), QProcess::Running);
}

void SingleInstanceTest::a_lock_file_of_no_live_owner_is_taken_over_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\x01\x02 not a lock \xff");
    QTest::newRow("another machine's") << QByteArray("1\nconnect\nsome-other-machine\n");
}

void SingleInstanceTest::a_lock_file_of_no_live_owner_is_taken_over()
{
    QFETCH(QByteArray, content);
    const QString id = "peer-stale";
    QTemporaryDir folder;
    write_file(folder.filePath(id + ".lock"), content);

    LocalPeer first(id, folder.path());
    QVERIFY(!first.isClient());
    LocalPeer second(id, folder.path());
    QVERIFY(second.isClient());  // the taken-over lock is a live one now
}

void SingleInstanceTest::a_live_lock_names_this_machine_in_any_letter_case_data()
{
    // A lock file as this live process writes it; only its host line changes.
    QTemporaryDir folder;
    QLockFile own(folder.filePath("own.lock"));
    QVERIFY(own.tryLock(0));
    QFile written(folder.filePath("own.lock"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = written.readAll().split('\n');
    QVERIFY(lines.size() > 3);
    const QByteArray host = lines[2];
    QVERIFY(!host.isEmpty());

    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("computer_name");  // COMPUTERNAME meanwhile; empty: as it is
    QTest::addColumn<bool>("live");
    const auto with_host = [&lines](const QByteArray &spelling) {
        QList<QByteArray> changed = lines;
        changed[2] = spelling;
        return changed.join('\n');
    };
    QTest::newRow("as written") << with_host(host) << QByteArray() << true;
#ifdef Q_OS_WIN
    // Windows host names ignore letter case. Each spelling matches only one of the two names
    // compared, and that one only without letter case.
    const QByteArray computer_name = "ORVANE-PC7";
    QTest::newRow("COMPUTERNAME in other letters") << with_host("Orvane-pc7") << computer_name << true;
    const QByteArray host_name = QSysInfo::machineHostName().toUtf8();
    if (swapped_case(host_name) != host_name)  // a name of digits has no other spelling
        QTest::newRow("host name in other letters") << with_host(swapped_case(host_name)) << computer_name << true;
#else
    if (swapped_case(host) != host)
        QTest::newRow("in other letters") << with_host(swapped_case(host)) << QByteArray() << false;
#endif
}

void SingleInstanceTest::a_live_lock_names_this_machine_in_any_letter_case()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, computer_name);
    QFETCH(bool, live);
    const QByteArray computer_name_before = qgetenv("COMPUTERNAME");
    if (!computer_name.isEmpty())
        qputenv("COMPUTERNAME", computer_name);
    const QString id = "peer-host-case";
    QTemporaryDir folder;
    write_file(folder.filePath(id + ".lock"), content);
    LocalPeer peer(id, folder.path());
    const bool client = peer.isClient();
    qputenv("COMPUTERNAME", computer_name_before);
    QCOMPARE(client, live);
}

void SingleInstanceTest::without_a_lock_every_peer_runs()
{
    QTemporaryDir folder;
    const QString id = "peer-no-lock";
    QVERIFY(QDir(folder.path()).mkdir(id + ".lock"));  // nothing can replace a folder
    captured_log.clear();
    qInstallMessageHandler(capture);
    LocalPeer blocked(id, folder.path());
    const bool blocked_is_client = blocked.isClient();
    LocalPeer nowhere(id, folder.filePath("missing"));
    const bool nowhere_is_client = nowhere.isClient();
    qInstallMessageHandler(nullptr);
    QVERIFY(!blocked_is_client);
    QVERIFY(!nowhere_is_client);
    QCOMPARE(captured_log.filter("running without the single-instance check").size(), 2);
}

void SingleInstanceTest::a_start_over_a_garbage_lock_becomes_primary()
{
    QTemporaryDir folder;
    const QString id = QtSingleApplication::instance_id(CONNECT_PROGRAM);
    write_file(folder.filePath(id + ".lock"), "garbage");
    m_processes.push_back(start_connect(folder.path()));
    QVERIFY(wait_until_primary(*m_processes[0]));

    // And it holds the lock now: a second start hands over.
    m_processes.push_back(start_connect(folder.path()));
    QVERIFY(m_processes[1]->waitForFinished(kWaitMs));
    QVERIFY(!became_primary(*m_processes[1]));
}

void SingleInstanceTest::a_start_where_no_lock_can_be_made_runs_and_says_why_data()
{
    QTest::addColumn<bool>("folder_at_lock_path");  // else the temporary folder is missing
#ifdef Q_OS_WIN
    QTest::newRow("missing temporary folder") << false;  // Wine opens a folder as a lock file
#else
    QTest::newRow("folder at the lock's path") << true;  // Qt takes "/" for a missing TMPDIR
#endif
}

void SingleInstanceTest::a_start_where_no_lock_can_be_made_runs_and_says_why()
{
    QFETCH(bool, folder_at_lock_path);
    QTemporaryDir folder;
    QString tmp_folder = folder.path() + "/missing";
    if (folder_at_lock_path) {
        tmp_folder = folder.path();
        QVERIFY(QDir(tmp_folder).mkdir(QtSingleApplication::instance_id(CONNECT_PROGRAM) + ".lock"));
    }
    m_processes.push_back(start_connect(tmp_folder));
    QByteArray seen;
    QVERIFY(wait_until_primary(*m_processes[0], &seen));
    QVERIFY2(seen.contains("running without the single-instance check"), seen.constData());
}

void SingleInstanceTest::the_application_name_does_not_follow_the_executable()
{
    QCOMPARE(QFileInfo(QCoreApplication::applicationFilePath()).baseName(), QString("tst_single_instance"));
    set_application_name();
    QCOMPARE(QFileInfo(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).fileName(),
             QString("connect"));
}

int main(int argc, char **argv)
{
    // The application itself is a single-instance one, so that activation can be tested.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir tmp;
    for (const char *name : {"TMPDIR", "TMP", "TEMP"})
        qputenv(name, tmp.path().toUtf8());
    QtSingleApplication app(argc, argv, true);
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_single_instance.moc"
