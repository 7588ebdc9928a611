// The WK3 page: starting Kelvane from connect's own folder, and the autorun switch
// over the autorun entry (on Windows the Run value, kept as it was around the test; elsewhere
// the XDG autostart entry in a private config folder).
#include "common/Autorun.h"
#include "common/ProcessLaunch.h"
#include "devices/KelvaneProgram.h"
#include "devices/Tavri_WK3.h"
#include "devices/WK3_Dev_Config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

struct RecordingLauncher : ProcessLauncher {
    QStringList programs;
    QStringList folders;
    bool starts = true;

    bool start_detached(const QString &program, const QString &working_directory) override
    {
        programs.append(program);
        folders.append(working_directory);
        return starts;
    }
};

std::unique_ptr<Tavri_WK3> enter_page()
{
    auto page = std::make_unique<Tavri_WK3>();
    page->show();
    QTest::mouseClick(page->picture_button(), Qt::LeftButton);
    return page;
}

QRadioButton *autorun_switch(const Tavri_WK3 &page)
{
    return page.dev_config()->autorun_switch();
}

} // namespace

class Wk3PageTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void entering_shows_the_settings();
    void kelvane_starts_from_connects_folder_whatever_the_current_one();
    void a_failed_start_is_logged();
    void the_switch_shows_the_stored_entry_data();
    void the_switch_shows_the_stored_entry();
    void switching_writes_and_removes_the_entry();
    void reading_the_state_writes_nothing();
    void return_deletes_the_page();

private:
    std::unique_ptr<QTemporaryDir> m_config;
    QString m_userEntry;
    RecordingLauncher m_launcher;
};

void Wk3PageTest::initTestCase()
{
    m_userEntry = autorun::command(kelvane_autorun_name);
}

void Wk3PageTest::cleanupTestCase()
{
    if (!m_userEntry.isEmpty())
        autorun::set_command(kelvane_autorun_name, m_userEntry);
}

void Wk3PageTest::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
    QVERIFY(autorun::remove(kelvane_autorun_name));
    m_launcher = RecordingLauncher();
    set_process_launcher(&m_launcher);
}

void Wk3PageTest::cleanup()
{
    set_process_launcher(nullptr);
}

void Wk3PageTest::entering_shows_the_settings()
{
    Tavri_WK3 page;
    page.show();
    QVERIFY(!page.settings_stack()->isVisible());
    QSignalSpy entered(&page, &Tavri_WK3::enter_widget);
    QTest::mouseClick(page.picture_button(), Qt::LeftButton);
    QCOMPARE(entered.count(), 1);
    QVERIFY(!page.picture_button()->isVisible());
    QVERIFY(page.settings_stack()->isVisible());
    QVERIFY(page.return_button()->isVisible());
    QVERIFY(!page.restore_button()->isVisible());
}

void Wk3PageTest::kelvane_starts_from_connects_folder_whatever_the_current_one()
{
    QTemporaryDir elsewhere;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    const auto page = enter_page();
    QTest::mouseClick(page->dev_config()->start_button(), Qt::LeftButton);
    QDir::setCurrent(previous);

    const QString own_folder = QCoreApplication::applicationDirPath();
    QCOMPARE(m_launcher.programs, QStringList{QDir::toNativeSeparators(own_folder + "/Kelvane/Kelvane.exe")});
    QVERIFY(QFileInfo(m_launcher.programs.value(0)).isAbsolute());
    QCOMPARE(m_launcher.folders, QStringList{own_folder});
}

void Wk3PageTest::a_failed_start_is_logged()
{
    m_launcher.starts = false;
    const auto page = enter_page();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^run_orvane cannot start .*Kelvane\\.exe"));
    QTest::mouseClick(page->dev_config()->start_button(), Qt::LeftButton);
    QCOMPARE(m_launcher.programs.size(), 1);
}

void Wk3PageTest::the_switch_shows_the_stored_entry_data()
{
    QTest::addColumn<QString>("stored");  // null: no entry
    QTest::addColumn<bool>("on");
    const QString program = kelvane_program();
    QTest::newRow("no entry") << QString() << false;
    QTest::newRow("Kelvane's path") << program << true;
    QTest::newRow("other letter case") << program.toUpper() << false;
    QTest::newRow("quoted") << "\"" + program + "\"" << false;
    const QChar other_separator = QDir::separator() == '/' ? '\\' : '/';
    QTest::newRow("other separators") << QString(program).replace(QDir::separator(), other_separator)
                                      << false;
    QTest::newRow("another program") << "/usr/bin/true" << false;
}

void Wk3PageTest::the_switch_shows_the_stored_entry()
{
    QFETCH(QString, stored);
    QFETCH(bool, on);
    if (!stored.isNull())
        QVERIFY(autorun::set_command(kelvane_autorun_name, stored));
    const auto page = enter_page();
    QCOMPARE(autorun_switch(*page)->isChecked(), on);
}

void Wk3PageTest::switching_writes_and_removes_the_entry()
{
    const auto page = enter_page();
    QRadioButton *toggle = autorun_switch(*page);
    QVERIFY(!toggle->isChecked());

    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(toggle->isChecked());
    QCOMPARE(autorun::command(kelvane_autorun_name), kelvane_program());

    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(!toggle->isChecked());
    QCOMPARE(autorun::command(kelvane_autorun_name), QString());

    page->dev_config()->enable_autorun(true);
    page->dev_config()->enable_autorun(true);
    QCOMPARE(autorun::command(kelvane_autorun_name), kelvane_program());
    QCOMPARE(enter_page()->dev_config()->autorun_switch()->isChecked(), true);
}

void Wk3PageTest::reading_the_state_writes_nothing()
{
#ifdef Q_OS_WIN
    // The Run value as another program wrote it, a type the page never writes.
    QSettings run_key("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                      QSettings::NativeFormat);
    run_key.setValue(kelvane_autorun_name, QStringList{kelvane_program()});
    const auto page = enter_page();
    QVERIFY(!autorun_switch(*page)->isChecked());
    QCOMPARE(run_key.value(kelvane_autorun_name).toStringList(), QStringList{kelvane_program()});
#else
    // A line of the entry's own marks whether the file is written again.
    QVERIFY(autorun::set_command(kelvane_autorun_name, kelvane_program()));
    QFile entry(m_config->path() + "/autostart/Kelvane.desktop");
    QVERIFY(entry.open(QIODevice::Append));
    entry.write("X-Written-By=test\n");
    entry.close();
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray before = entry.readAll();
    entry.close();

    const auto page = enter_page();
    QVERIFY(autorun_switch(*page)->isChecked());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QCOMPARE(entry.readAll(), before);
    entry.close();

    QVERIFY(autorun::remove(kelvane_autorun_name));
    QVERIFY(autorun::set_command(kelvane_autorun_name, "/usr/bin/true"));
    page->get_Kelvane_AutoRun_status();
    QVERIFY(!autorun_switch(*page)->isChecked());
    QCOMPARE(autorun::command(kelvane_autorun_name), QString("/usr/bin/true"));
#endif
}

void Wk3PageTest::return_deletes_the_page()
{
    QPointer<Tavri_WK3> page = enter_page().release();
    QSignalSpy returned(page.data(), &Tavri_WK3::return_back);
    QTest::mouseClick(page->return_button(), Qt::LeftButton);
    QCOMPARE(returned.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(page.isNull());
}

QTEST_MAIN(Wk3PageTest)
#include "tst_wk3_page.moc"
