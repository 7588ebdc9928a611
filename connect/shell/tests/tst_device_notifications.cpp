// Hot-plug through the system: the main window's native window registers for HID interface
// notices until it goes, and WM_DEVICECHANGE records reaching it add and remove device buttons.
#include "WidgetFixture.h"
#include "shell/win32/HidNotificationWin32.h"

#include <QStackedWidget>

#include <windows.h>
#include <dbt.h>
extern "C" {
#include <hidsdi.h>  // declared without C linkage
}

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

const QString kQv8Interface = QStringLiteral(
    "\\\\?\\HID#VID_E4A9&PID_2E1C&MI_01#7&1A2B3C4D&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}");

QStringList captured_log;

void capture(QtMsgType, const QMessageLogContext &, const QString &message)
{
    captured_log.append(message);
}

// The record the system sends with WM_DEVICECHANGE.
std::vector<unsigned char> broadcast(const QString &name, DWORD device_type = DBT_DEVTYP_DEVICEINTERFACE)
{
    const std::size_t name_bytes = (std::size_t(name.size()) + 1) * sizeof(wchar_t);
    std::vector<unsigned char> record(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + name_bytes);
    auto *header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W *>(record.data());
    header->dbcc_size = DWORD(record.size());
    header->dbcc_devicetype = device_type;
    std::memcpy(header->dbcc_name, name.utf16(), name_bytes);
    return record;
}

// What the window asked of the system, passed on to the system's own calls.
struct Registration {
    HANDLE recipient;
    DEV_BROADCAST_DEVICEINTERFACE_W filter;
    DWORD flags;
    HDEVNOTIFY handle;
};
std::vector<Registration> registrations;
std::vector<std::pair<HDEVNOTIFY, BOOL>> unregistrations;
const DeviceNotificationApi system_api = device_notification_api();
bool refuse_registration = false;

HDEVNOTIFY WINAPI recording_register(HANDLE recipient, LPVOID filter, DWORD flags)
{
    Registration registration{recipient, {}, flags, nullptr};
    std::memcpy(&registration.filter, filter, sizeof(registration.filter));
    if (refuse_registration)
        SetLastError(ERROR_ACCESS_DENIED);
    else
        registration.handle = system_api.register_notification(recipient, filter, flags);
    registrations.push_back(registration);
    return registration.handle;
}

BOOL WINAPI recording_unregister(HDEVNOTIFY handle)
{
    const BOOL done = system_api.unregister_notification(handle);
    unregistrations.push_back({handle, done});
    return done;
}

struct RecordedCalls {
    RecordedCalls()
    {
        registrations.clear();
        unregistrations.clear();
        device_notification_api() = {recording_register, recording_unregister};
    }
    ~RecordedCalls()
    {
        device_notification_api() = system_api;
        refuse_registration = false;
    }
};

void send_change(Widget &window, WPARAM event, std::vector<unsigned char> record)
{
    SendMessageW(reinterpret_cast<HWND>(window.winId()), WM_DEVICECHANGE, event,
                 reinterpret_cast<LPARAM>(record.data()));
}

} // namespace

class DeviceNotificationsTest : public QObject
{
    Q_OBJECT
private slots:
    void the_window_registers_for_hid_notices_while_it_lives();
    void a_refused_registration_is_logged_and_the_scan_still_runs();
    void arrival_and_removal_change_the_device_bar();
    void other_notices_change_nothing();
    void removing_the_open_device_closes_its_page();
    void removing_another_device_keeps_the_open_page();
};

void DeviceNotificationsTest::the_window_registers_for_hid_notices_while_it_lives()
{
    RecordedCalls calls;
    GUID hid_class;
    HidD_GetHidGuid(&hid_class);
    {
        WidgetFixture fixture;
        fixture.start();
        QCOMPARE(registrations.size(), std::size_t(1));
        const Registration &registration = registrations[0];
        QCOMPARE(registration.recipient, HANDLE(fixture.window->winId()));
        QCOMPARE(registration.flags, DWORD(DEVICE_NOTIFY_WINDOW_HANDLE));
        QCOMPARE(registration.filter.dbcc_size, DWORD(32));
        QCOMPARE(registration.filter.dbcc_devicetype, DWORD(DBT_DEVTYP_DEVICEINTERFACE));
        QVERIFY(IsEqualGUID(registration.filter.dbcc_classguid, hid_class));
        QVERIFY(registration.handle);  // the system took it
        QVERIFY(unregistrations.empty());
    }
    QCOMPARE(unregistrations.size(), std::size_t(1));
    QCOMPARE(unregistrations[0].first, registrations[0].handle);
    QVERIFY(unregistrations[0].second);
}

void DeviceNotificationsTest::a_refused_registration_is_logged_and_the_scan_still_runs()
{
    RecordedCalls calls;
    refuse_registration = true;
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    captured_log.clear();
    const QtMessageHandler previous = qInstallMessageHandler(capture);
    fixture.start();
    qInstallMessageHandler(previous);
    QCOMPARE(captured_log.filter(QString("注册失败: %1").arg(ERROR_ACCESS_DENIED)).size(), 1);
    QCOMPARE(fixture.devices().buttons().size(), 1);
    fixture.window.reset();
    QVERIFY(unregistrations.empty());  // nothing to give back
}

void DeviceNotificationsTest::arrival_and_removal_change_the_device_bar()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    send_change(window, DBT_DEVICEARRIVAL, broadcast(kQv8Interface));
    QCOMPARE(fixture.button_paths(), QStringList{kQv8Interface.toLower()});
    QCOMPARE(fixture.devices().buttons().at(0)->dev_sn, QString("1a2b3c4d"));

    send_change(window, DBT_DEVICEREMOVECOMPLETE, broadcast(kQv8Interface));
    QVERIFY(fixture.devices().buttons().isEmpty());
}

void DeviceNotificationsTest::other_notices_change_nothing()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    send_change(window, DBT_DEVICEQUERYREMOVE, broadcast(kQv8Interface));
    send_change(window, DBT_DEVICEARRIVAL, broadcast(kQv8Interface, DBT_DEVTYP_VOLUME));
    QString foreign = kQv8Interface;
    send_change(window, DBT_DEVICEARRIVAL, broadcast(foreign.replace("E4A9", "046D")));
    SendMessageW(reinterpret_cast<HWND>(window.winId()), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    QVERIFY(fixture.devices().buttons().isEmpty());
}

// The scan finds the simulated devices under hidapi's Windows paths; the system names a
// removed interface in capitals.
void DeviceNotificationsTest::removing_the_open_device_closes_its_page()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::zy5("usb-1-2"));
    Widget &window = fixture.start();
    QCOMPARE(fixture.button_paths().size(), 1);
    const QString path = fixture.button_paths().value(0);
    QVERIFY2(path.contains("mi_01&col03"), qPrintable(path));
    fixture.devices().buttons().at(0)->click();
    QPointer<QWidget> page = window.page_stack()->widget(Widget::Page_Device);
    QVERIFY(page);

    send_change(window, DBT_DEVICEREMOVECOMPLETE, broadcast(path.toUpper()));
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Welcome));
    QVERIFY(fixture.devices().buttons().isEmpty());
    WidgetFixture::process_deletions();
    QVERIFY(page.isNull());
}

void DeviceNotificationsTest::removing_another_device_keeps_the_open_page()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    fakehid::plug(simulated::wk3("usb-1-3"));
    Widget &window = fixture.start();
    QCOMPARE(fixture.button_paths().size(), 2);
    fixture.devices().buttons().at(0)->click();
    QPointer<QWidget> page = window.page_stack()->widget(Widget::Page_Device);

    send_change(window, DBT_DEVICEREMOVECOMPLETE, broadcast(fixture.button_paths().value(1).toUpper()));
    WidgetFixture::process_deletions();
    QVERIFY(!page.isNull());
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Device));
    QCOMPARE(fixture.devices().buttons().size(), 1);
}

QTEST_MAIN(DeviceNotificationsTest)
#include "tst_device_notifications.moc"
