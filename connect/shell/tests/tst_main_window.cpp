// The main window's page stack, installer clean-up and update hook, and its tray icon.
#include "WidgetFixture.h"
#include "common/tests/FileBytes.h"
#include "devices/Tavri_QV8.h"
#include "devices/Tavri_ZY5.h"
#include "editors/PopBox.h"
#include "shell/App_Config_Widget.h"
#include "shell/App_Pair_Widget.h"
#include "shell/SystemTray.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>

namespace {

const QString kQv8Path = "\\\\?\\hid#vid_e4a9&pid_2e1c&mi_01#7&11111111&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const QString kZy5Path = "\\\\?\\hid#vid_e4a9&pid_9d09&mi_01&col03#7&22222222&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";

QStringList captured_log;

void capture(QtMsgType, const QMessageLogContext &, const QString &message)
{
    captured_log.append(message);
}

// A real program of the platform stands in for an installer: a copy of it under the
// installer's name leaves "<path>.started" beside itself when it runs.
QString stand_in_installer()
{
    // Resolved while the current folder is still the build's (on Windows its drive).
    static const QString program = QFileInfo(STAND_IN_INSTALLER).absoluteFilePath();
    return program;
}

void place_installer(const QString &path)
{
    QVERIFY2(QFile::copy(stand_in_installer(), path), qPrintable(stand_in_installer()));
}

// Runs action inside the application's event loop; the loop's result tells whether the
// action quit the application. (A bare QEventLoop would not run again after a quit.)
bool quits_application(const std::function<void()> &action)
{
    QTimer::singleShot(0, [&] {
        QCoreApplication::exit(1);  // the result unless the action quits
        action();                   // QCoreApplication::quit() sets 0
    });
    return QCoreApplication::exec() == 0;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(QFile::exists(stand_in_installer())); }
    void init() { captured_log.clear(); }

    void starts_on_the_welcome_page();
    void the_rest_of_the_window_follows_its_first_paint();
    void the_rest_of_the_window_follows_also_without_a_paint();
    void a_page_asked_for_before_the_first_paint_is_built_at_once();
    void a_second_device_page_replaces_the_first();
    void the_zy5_page_gets_both_interface_paths();
    void each_model_row_opens_its_page_data();
    void each_model_row_opens_its_page();
    void paths_that_match_no_model_open_no_page();
    void information_pages_hide_and_restore_the_device_bar();
    void software_page_from_a_device_page_returns_to_it();
    void device_page_return_leads_to_the_welcome_page();
    void unplugging_the_open_device_behind_the_software_page_keeps_the_bar();
    void old_installers_are_cleaned_up_and_newer_ones_offered();
    void the_version_button_starts_the_offered_installer_once();
    void a_failed_installer_start_does_not_quit();
    void an_installer_offered_by_absolute_path_starts_from_there();
    void the_update_thread_ends_with_the_window();
    void a_window_outlives_an_update_thread_that_ended_early();
    void tray_menu_shows_and_quits();
    void tray_icon_activation();
};

void MainWindowTest::starts_on_the_welcome_page()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    QCOMPARE(window.size(), QSize(1200, 750));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(window.page_stack()->count(), 3);
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Welcome));
    QVERIFY(window.device_bar()->isVisible());
    QVERIFY(window.settings_button()->isVisible());
    QVERIFY(!window.software_page()->update_marker()->isVisibleTo(window.software_page()));
    QVERIFY(!window.software_page()->language_box()->isVisibleTo(window.software_page()));
    QCOMPARE(window.software_page()->version_button()->text(), QString("Version: 1.1.0"));
}

// The first frame holds the background, the welcome page and the device bar with the attached
// devices.
void MainWindowTest::the_rest_of_the_window_follows_its_first_paint()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    Widget window(nullptr, QUrl());
    window.show();
    const QPoint bare_background(100, 450);
    QCOMPARE(window.grab().toImage().pixelColor(bare_background),
             QImage(":/img/bg").pixelColor(bare_background));
    QCOMPARE(window.page_stack()->count(), 1);
    QCOMPARE(window.device_bar()->devlist()->buttons().size(), 1);
    QVERIFY(!window.tray() && !window.software_page() && !window.update_thread());

    QTRY_VERIFY(window.tray());
    QVERIFY(window.tray()->isVisible());
    QCOMPARE(window.page_stack()->count(), 3);
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Welcome));
    QCOMPARE(window.page_stack()->widget(Widget::Page_Software), window.software_page());
    QCOMPARE(window.page_stack()->widget(Widget::Page_Pair), window.pair_page());
    QVERIFY(window.update_thread());
}

// Started minimised or mapped on another workspace, the window is shown but never painted.
void MainWindowTest::the_rest_of_the_window_follows_also_without_a_paint()
{
    struct NoPaint : QObject {
        int swallowed = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() != QEvent::Paint)
                return false;
            ++swallowed;
            return true;
        }
    } no_paint;
    WidgetFixture fixture;
    Widget window(nullptr, QUrl());
    window.installEventFilter(&no_paint);
    window.show();
    QTRY_VERIFY(window.tray());
    QVERIFY(window.tray()->isVisible());
    QCOMPARE(window.page_stack()->count(), 3);
    QVERIFY(window.update_thread());
    QVERIFY(no_paint.swallowed > 0);
}

void MainWindowTest::a_page_asked_for_before_the_first_paint_is_built_at_once()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    Widget window(nullptr, QUrl());
    window.show();
    window.settings_button()->click();
    QCOMPARE(window.page_stack()->currentWidget(), window.software_page());

    window.device_bar()->devlist()->buttons().at(0)->click();
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Device));
    QVERIFY(qobject_cast<Tavri_QV8 *>(window.page_stack()->currentWidget()));
}

void MainWindowTest::a_second_device_page_replaces_the_first()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    fixture.notify("show_dev_widget", kQv8Path);
    QPointer<QWidget> first = window.page_stack()->currentWidget();
    QVERIFY(qobject_cast<Tavri_QV8 *>(first));
    QCOMPARE(qobject_cast<Tavri_QV8 *>(first)->dev_config_path, kQv8Path);

    fixture.notify("show_dev_widget", kZy5Path);
    WidgetFixture::process_deletions();
    QVERIFY(first.isNull());
    QCOMPARE(window.page_stack()->count(), 4);
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Device));
    QVERIFY(qobject_cast<Tavri_ZY5 *>(window.page_stack()->currentWidget()));
    QCOMPARE(window.current_device_path(), kZy5Path);
}

void MainWindowTest::the_zy5_page_gets_both_interface_paths()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    fixture.notify("show_dev_widget", kZy5Path);
    auto *page = qobject_cast<Tavri_ZY5 *>(window.page_stack()->currentWidget());
    QVERIFY(page);
    QCOMPARE(page->dev_command_path, kZy5Path);
    QCOMPARE(page->dev_macro_path,
             QString("\\\\?\\hid#vid_e4a9&pid_9d09&mi_01&col02#7&22222222&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030}"));
}

void MainWindowTest::each_model_row_opens_its_page_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("page_class");
    QTest::newRow("QV8") << kQv8Path << "Tavri_QV8";
    QTest::newRow("ZY5") << kZy5Path << "Tavri_ZY5";
    QTest::newRow("WK3") << "\\\\?\\hid#vid_e4a9&pid_507c&mi_03#7&33333333&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}"
                         << "Tavri_WK3";
}

void MainWindowTest::each_model_row_opens_its_page()
{
    QFETCH(QString, path);
    QFETCH(QString, page_class);
    WidgetFixture fixture;
    Widget &window = fixture.start();
    fixture.notify("show_dev_widget", path);
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Device));
    auto *page = qobject_cast<DevicePage *>(window.page_stack()->currentWidget());
    QVERIFY(page);
    QCOMPARE(QString(page->metaObject()->className()), page_class);
    QCOMPARE(window.current_device_path(), path);

    // The page's own signals reach the window: entering hides the bar, return leads home.
    emit page->enter_widget();
    QVERIFY(!window.device_bar()->isVisible());
    emit page->return_back();
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Welcome));
    QVERIFY(window.device_bar()->isVisible());
}

void MainWindowTest::paths_that_match_no_model_open_no_page()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    fixture.notify("show_dev_widget", kQv8Path.toUpper());
    fixture.notify("show_dev_widget", "\\\\?\\hid#vid_046d&pid_c52b#7&1#{x}");
    QCOMPARE(window.page_stack()->count(), 3);
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Welcome));
}

void MainWindowTest::information_pages_hide_and_restore_the_device_bar()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    const struct {
        QPushButton *open;
        QPushButton *back;
        int page;
    } routes[] = {
        {window.settings_button(), window.software_page()->return_button(), Widget::Page_Software},
        {window.device_bar()->devlist()->add_button(), window.pair_page()->return_button(), Widget::Page_Pair},
    };
    for (const auto &route : routes) {
        route.open->click();
        QCOMPARE(window.page_stack()->currentIndex(), route.page);
        QVERIFY(!window.device_bar()->isVisible());
        QVERIFY(!window.settings_button()->isVisible());
        route.back->click();
        QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Welcome));
        QVERIFY(window.device_bar()->isVisible());
        QVERIFY(window.settings_button()->isVisible());
    }
}

void MainWindowTest::software_page_from_a_device_page_returns_to_it()
{
    for (const bool entered : {false, true}) {
        WidgetFixture fixture;
        Widget &window = fixture.start();
        fixture.notify("show_dev_widget", kQv8Path);
        if (entered)
            QVERIFY(QMetaObject::invokeMethod(window.page_stack()->currentWidget(), "enter_widget"));

        window.settings_button()->click();
        window.software_page()->return_button()->click();
        QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Device));
        QCOMPARE(window.device_bar()->isVisible(), !entered);
    }
}

void MainWindowTest::device_page_return_leads_to_the_welcome_page()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    fixture.notify("show_dev_widget", kQv8Path);
    QPointer<QWidget> page = window.page_stack()->currentWidget();
    QVERIFY(QMetaObject::invokeMethod(page, "enter_widget"));
    QVERIFY(QMetaObject::invokeMethod(page, "close_widget"));
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Welcome));
    QVERIFY(window.device_bar()->isVisible());
    WidgetFixture::process_deletions();
    QVERIFY(page.isNull());
    QCOMPARE(window.page_stack()->count(), 3);
}

void MainWindowTest::unplugging_the_open_device_behind_the_software_page_keeps_the_bar()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    fixture.notify("show_dev_widget", kQv8Path);
    QVERIFY(QMetaObject::invokeMethod(window.page_stack()->currentWidget(), "enter_widget"));
    window.settings_button()->click();

    fixture.notify("device_removed", kQv8Path);
    WidgetFixture::process_deletions();
    window.software_page()->return_button()->click();
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Welcome));
    QVERIFY(window.device_bar()->isVisible());
}

void MainWindowTest::old_installers_are_cleaned_up_and_newer_ones_offered()
{
    WidgetFixture fixture;
    const struct {
        const char *name;
        bool kept;
    } files[] = {
        {"TAVRI_CONNECT_PC_V1.0.9.exe", false},          // 10009
        {"TAVRI_CONNECT_PC_V1.1.0.exe", false},          // 10100, this version
        {"TAVRI_CONNECT_PC_V1.1.1.exe", true},           // 10101, offered
        {"TAVRI_CONNECT_PC_V12.0.0.exe", true},          // only the last major digit: 20000
        {"TAVRI_CONNECT_PC_V1.200.0.exe", true},         // 30000: minor is not cut to 8 bits
        {"TAVRI_CONNECT_PC.exe", true},                  // two parts
        {"TAVRI_CONNECT_PC_notes.for.me.exe", true},     // four parts, not an installer
        {"TAVRI_CONNECT_PC_V1.x.0.exe", true},           // not numeric
        {"OTHER_V1.0.0.exe", true},
    };
    for (const auto &file : files)
        write_file(fixture.folder.filePath(file.name), "x");
    QDir::setCurrent(fixture.folder.path());
    qInstallMessageHandler(capture);
    Widget &window = fixture.start();
    qInstallMessageHandler(nullptr);

    for (const auto &file : files)
        QVERIFY2(QFile::exists(fixture.folder.filePath(file.name)) == file.kept, file.name);
    QStringList offered;
    for (const QString &line : captured_log)
        if (line.startsWith("APP UpdateFound"))
            offered.append(line.section('"', 1, 1));
    QCOMPARE(offered, (QStringList{"TAVRI_CONNECT_PC_V1.1.1.exe", "TAVRI_CONNECT_PC_V1.200.0.exe",
                                   "TAVRI_CONNECT_PC_V12.0.0.exe"}));
    QCOMPARE(window.software_page()->version_button()->text(), QString("发现新版本  "));
    QVERIFY(window.software_page()->update_marker()->isVisibleTo(window.software_page()));
}

void MainWindowTest::the_version_button_starts_the_offered_installer_once()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    QPushButton *version = window.software_page()->version_button();
    QVERIFY(!quits_application([&] { version->click(); }));  // nothing offered yet

    const QString installer = "TAVRI_CONNECT_PC_V1.2.0.exe";
    place_installer(fixture.folder.filePath(installer));
    fixture.notify("UpdateFound", "TAVRI_CONNECT_PC_V9.9.9.exe");  // absent: ignored
    QCOMPARE(version->text(), QString("Version: 1.1.0"));
    fixture.notify("UpdateFound", installer);
    fixture.notify("UpdateFound", installer);

    qInstallMessageHandler(capture);
    QVERIFY(quits_application([&] { version->click(); }));
    qInstallMessageHandler(nullptr);
    QCOMPARE(captured_log.filter("RunUpdate()").size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(fixture.folder.filePath(installer + ".started")), 20000);
}

void MainWindowTest::a_failed_installer_start_does_not_quit()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    const QString installer = "TAVRI_CONNECT_PC_V1.2.0.exe";
    write_file(fixture.folder.filePath(installer), "not a program");  // not executable
    fixture.notify("UpdateFound", installer);
    qInstallMessageHandler(capture);
    QVERIFY(!quits_application([&] { window.software_page()->version_button()->click(); }));
    qInstallMessageHandler(nullptr);
    QVERIFY2(!captured_log.filter("did not start").isEmpty(), qPrintable(captured_log.join('\n')));
    // With no error box of the shell, connect's own box tells the user.
    const auto *box = window.findChild<PopBox *>();
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->text_label()->text(), QString("安装程序未能启动"));
    QVERIFY(!box->cancel_button()->isVisible());
}

void MainWindowTest::an_installer_offered_by_absolute_path_starts_from_there()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    QTemporaryDir downloads;  // not the current folder
    const QString installer = downloads.filePath("TAVRI_CONNECT_PC_V1.2.0.exe");
    place_installer(installer);
    fixture.notify("UpdateFound", installer);
    QCOMPARE(window.software_page()->version_button()->text(), QString("发现新版本  "));
    QVERIFY(quits_application([&] { window.software_page()->version_button()->click(); }));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(installer + ".started"), 20000);
}

void MainWindowTest::the_update_thread_ends_with_the_window()
{
    WidgetFixture fixture;
    QPointer<QThread> thread = fixture.start().update_thread();
    QVERIFY(thread && thread->isRunning());
    fixture.window.reset();
    QVERIFY(thread.isNull());
}

void MainWindowTest::a_window_outlives_an_update_thread_that_ended_early()
{
    WidgetFixture fixture;
    QPointer<QThread> thread = fixture.start().update_thread();
    thread->quit();  // as when the worker ends its own thread
    QVERIFY(thread->wait(5000));
    QCoreApplication::processEvents();
    WidgetFixture::process_deletions();
    QVERIFY(!thread.isNull());  // the window still owns it
    fixture.window.reset();
    QVERIFY(thread.isNull());
}

void MainWindowTest::tray_menu_shows_and_quits()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    SystemTray *tray = window.tray();
    QCOMPARE(tray->toolTip(), QString("TAVRI RERIVEZ"));
    const QList<QAction *> actions = tray->contextMenu()->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0]->text(), QString("显示"));
    QCOMPARE(actions[1]->text(), QString("退出"));

    window.showMinimized();
    window.hide();
    actions[0]->trigger();
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());

    window.hide();
    QVERIFY(quits_application([&] { actions[1]->trigger(); }));
}

void MainWindowTest::tray_icon_activation()
{
    const struct {
        QSystemTrayIcon::ActivationReason reason;
        bool shows;
    } cases[] = {
        {QSystemTrayIcon::Trigger, true},
        {QSystemTrayIcon::DoubleClick, true},
        {QSystemTrayIcon::Context, false},
        {QSystemTrayIcon::MiddleClick, false},
    };
    WidgetFixture fixture;
    Widget &window = fixture.start();
    for (const auto &c : cases) {
        window.hide();
        emit window.tray()->activated(c.reason);
        QCOMPARE(window.isVisible(), c.shows);
    }
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
