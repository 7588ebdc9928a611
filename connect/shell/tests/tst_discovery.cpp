// The start-up scan and hot-plug on the simulated bus. The udev monitor's rescans are Linux's;
// on Windows the system names the interface (tst_device_notifications).
#include "WidgetFixture.h"
#include "shell/DeviceNotifications.h"
#include "common/HidBus.h"

#include <QStackedWidget>

class DiscoveryTest : public QObject
{
    Q_OBJECT
private slots:
    void scan_gives_one_button_per_config_interface();
#ifndef Q_OS_WIN
    void plugging_and_unplugging_adds_and_removes_buttons();
#endif
    void an_arrival_for_a_shown_device_adds_no_second_button();
    void a_removal_notice_in_upper_case_removes_a_scanned_button();
#ifndef Q_OS_WIN
    void unplugging_the_open_device_closes_its_page();
#endif
#ifndef Q_OS_WIN
    void unplugging_another_device_keeps_the_open_page();
#endif
#ifndef Q_OS_WIN
    void a_failed_enumeration_changes_nothing_and_the_next_event_retries();
#endif
#ifndef Q_OS_WIN
    void devices_missed_by_a_failed_start_up_enumeration_come_with_the_next_event();
#endif
#ifndef Q_OS_WIN
    void a_failed_fact_read_keeps_the_key_and_the_open_page();
#endif
    void start_up_enumerates_once();
#ifndef Q_OS_WIN
    void a_new_device_with_unreadable_facts_appears_when_they_can_be_read();
    void a_device_left_out_at_start_up_appears_without_an_event();
    void a_failed_enumeration_at_an_event_is_repeated_a_bounded_number_of_times();
#endif
};

namespace {

int enumerations()
{
    return fakehid::calls("hid_enumerate");
}

#ifndef Q_OS_WIN
// After an event for device, a call that keeps failing is repeated a bounded number of times;
// the device bar keeps its buttons.
void check_bounded_retries(WidgetFixture &fixture, Widget &window, const fakehid::Device &device,
                           const char *failing, int buttons)
{
    fakehid::plug(device);
    for (int i = 0; i < 100; ++i)
        fakehid::fail_next(failing);
    const int before = enumerations();
    window.device_notifications()->rescan();
    QTest::qWait(4000);
    const int retried = enumerations() - before;
    QVERIFY2(retried > 1 && retried <= 11, qPrintable(QString::number(retried)));
    QCOMPARE(fixture.devices().buttons().size(), buttons);
}
#endif

} // namespace

void DiscoveryTest::scan_gives_one_button_per_config_interface()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    fakehid::plug(simulated::qv8("usb-1-3"));
    fakehid::plug(simulated::zy5("usb-1-4"));
    fakehid::plug(simulated::device(0x507C, 0, "usb-1-5"));  // the WK3's other interface
    fakehid::plug(simulated::wk3("usb-1-5"));
    fakehid::Device foreign = simulated::qv8("usb-1-6");
    foreign.vendor_id = 0x046D;
    fakehid::plug(foreign);
    fixture.start();

    const QList<Tavri_Device_Btn *> &buttons = fixture.devices().buttons();
    QCOMPARE(buttons.size(), 4);
    QCOMPARE(buttons[0]->product_name, QString("塔维精英鼠标"));
    QCOMPARE(buttons[1]->product_name, QString("塔维精英鼠标"));
    QVERIFY(buttons[0]->dev_sn != buttons[1]->dev_sn);
    QCOMPARE(buttons[2]->product_name, QString("塔维游戏鼠标"));
    QVERIFY(buttons[2]->dev_config_path.contains("mi_01&col03#7&" + buttons[2]->dev_sn + "&"));
    QCOMPARE(buttons[3]->product_name, QString("塔维精英键盘"));
    QVERIFY(buttons[3]->dev_config_path.contains("mi_03#7&" + buttons[3]->dev_sn));
    for (const Tavri_Device_Btn *button : buttons) {
        QCOMPARE(button->dev_sn.size(), 8);
        QVERIFY(button->dev_config_path.endsWith("}"));
    }
}

#ifndef Q_OS_WIN
void DiscoveryTest::plugging_and_unplugging_adds_and_removes_buttons()
{
    WidgetFixture fixture;
    const std::string kept = fakehid::plug(simulated::wk3("usb-1-2"));
    fixture.start();
    QCOMPARE(fixture.devices().buttons().size(), 1);

    const std::string zy5 = fakehid::plug(simulated::zy5("usb-1-3"));
    const std::string qv8 = fakehid::plug(simulated::qv8("usb-1-4"));
    fixture.window->device_notifications()->rescan();
    QCOMPARE(fixture.devices().buttons().size(), 3);

    fakehid::unplug(zy5);
    fixture.window->device_notifications()->rescan();
    QCOMPARE(fixture.devices().buttons().size(), 2);
    QVERIFY(fixture.button_paths().filter("pid_9d09").isEmpty());

    fakehid::unplug(qv8);
    fakehid::unplug(kept);
    fixture.window->device_notifications()->rescan();
    QVERIFY(fixture.devices().buttons().isEmpty());
}
#endif

void DiscoveryTest::an_arrival_for_a_shown_device_adds_no_second_button()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    fixture.start();
    const QString path = fixture.button_paths().value(0);
    fixture.notify("device_arrived", path.toUpper());
    fixture.notify("device_arrived", path);
    QCOMPARE(fixture.button_paths(), QStringList{path});
}

void DiscoveryTest::a_removal_notice_in_upper_case_removes_a_scanned_button()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    fakehid::plug(simulated::wk3("usb-1-3"));
    fixture.start();
    const QString qv8 = fixture.button_paths().value(0);

    // Windows names the interface in upper case and adds a reference string after the class.
    fixture.notify("device_removed", qv8.toUpper() + "\\KBD");
    QCOMPARE(fixture.devices().buttons().size(), 1);
    QVERIFY(fixture.button_paths().filter("pid_2e1c").isEmpty());

    fixture.notify("device_removed", "\\\\?\\hid#vid_e4a9&pid_507c&mi_03#7&00000000&0&0000#{x}");
    QCOMPARE(fixture.devices().buttons().size(), 1);
}

#ifndef Q_OS_WIN
void DiscoveryTest::unplugging_the_open_device_closes_its_page()
{
    WidgetFixture fixture;
    const std::string node = fakehid::plug(simulated::zy5("usb-1-2"));
    Widget &window = fixture.start();
    fixture.devices().buttons().at(0)->click();
    QCOMPARE(window.page_stack()->count(), 4);
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Device));
    QPointer<QWidget> page = window.page_stack()->widget(Widget::Page_Device);
    QVERIFY(QMetaObject::invokeMethod(page, "enter_widget"));
    QVERIFY(!window.device_bar()->isVisible());

    fakehid::unplug(node);
    window.device_notifications()->rescan();
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Welcome));
    QVERIFY(window.device_bar()->isVisible());
    QVERIFY(fixture.devices().buttons().isEmpty());
    WidgetFixture::process_deletions();
    QVERIFY(page.isNull());
    QCOMPARE(window.page_stack()->count(), 3);
}
#endif

#ifndef Q_OS_WIN
void DiscoveryTest::unplugging_another_device_keeps_the_open_page()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    const std::string other = fakehid::plug(simulated::wk3("usb-1-3"));
    Widget &window = fixture.start();
    fixture.devices().buttons().at(0)->click();
    QPointer<QWidget> page = window.page_stack()->widget(Widget::Page_Device);

    fakehid::unplug(other);
    window.device_notifications()->rescan();
    WidgetFixture::process_deletions();
    QVERIFY(!page.isNull());
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Device));
    QCOMPARE(fixture.devices().buttons().size(), 1);
}
#endif

#ifndef Q_OS_WIN
void DiscoveryTest::a_failed_enumeration_changes_nothing_and_the_next_event_retries()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    const std::string wk3 = fakehid::plug(simulated::wk3("usb-1-3"));
    Widget &window = fixture.start();
    fixture.devices().buttons().at(0)->click();
    QPointer<QWidget> page = window.page_stack()->widget(Widget::Page_Device);

    fakehid::unplug(wk3);
    fakehid::fail_next("hid_enumerate");
    window.device_notifications()->rescan();
    WidgetFixture::process_deletions();
    QCOMPARE(fixture.devices().buttons().size(), 2);
    QVERIFY(!page.isNull());
    QCOMPARE(window.page_stack()->currentIndex(), int(Widget::Page_Device));

    window.device_notifications()->rescan();
    QCOMPARE(fixture.devices().buttons().size(), 1);
    QVERIFY(fixture.button_paths().filter("pid_507c").isEmpty());
}
#endif

#ifndef Q_OS_WIN
void DiscoveryTest::devices_missed_by_a_failed_start_up_enumeration_come_with_the_next_event()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    fakehid::plug(simulated::zy5("usb-1-3"));
    fakehid::fail_next("hid_enumerate");
    Widget &window = fixture.start();
    QVERIFY(fixture.devices().buttons().isEmpty());

    window.device_notifications()->rescan();
    QCOMPARE(fixture.devices().buttons().size(), 2);
}
#endif

#ifndef Q_OS_WIN
void DiscoveryTest::a_failed_fact_read_keeps_the_key_and_the_open_page()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::zy5("usb-1-2"));
    Widget &window = fixture.start();
    const QString sn = fixture.devices().buttons().at(0)->dev_sn;
    fixture.devices().buttons().at(0)->click();
    QPointer<QWidget> page = window.page_stack()->widget(Widget::Page_Device);

    fakehid::plug(simulated::wk3("usb-1-3"));  // an event for another device
    fakehid::fail_next("hid_node_info");       // the ZY5's facts, read first
    window.device_notifications()->rescan();
    WidgetFixture::process_deletions();
    QVERIFY(!page.isNull());
    QCOMPARE(fixture.devices().buttons().size(), 2);
    QCOMPARE(fixture.devices().buttons().at(0)->dev_sn, sn);
}
#endif

void DiscoveryTest::start_up_enumerates_once()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    fakehid::plug(simulated::zy5("usb-1-3"));
    fakehid::plug(simulated::wk3("usb-1-4"));
    const int before = enumerations();
    fixture.start();
    QCOMPARE(fixture.devices().buttons().size(), 3);
    QCOMPARE(enumerations() - before, 1);
}

#ifndef Q_OS_WIN
void DiscoveryTest::a_new_device_with_unreadable_facts_appears_when_they_can_be_read()
{
    WidgetFixture fixture;
    Widget &window = fixture.start();
    fakehid::plug(simulated::zy5("usb-1-2"));
    fakehid::fail_next("hid_node_info");
    window.device_notifications()->rescan();
    QVERIFY(fixture.devices().buttons().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(fixture.devices().buttons().size(), 1, 10000);

    // A node that never gives its facts is looked at a bounded number of times.
    check_bounded_retries(fixture, window, simulated::qv8("usb-1-3"), "hid_node_info", 1);
}
#endif

#ifndef Q_OS_WIN
void DiscoveryTest::a_device_left_out_at_start_up_appears_without_an_event()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));
    fakehid::plug(simulated::zy5("usb-1-3"));
    fakehid::fail_next("hid_node_info");  // the QV8's facts, read first
    fixture.start();
    QCOMPARE(fixture.button_paths().filter("pid_9d09").size(), 1);
    QCOMPARE(fixture.devices().buttons().size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(fixture.devices().buttons().size(), 2, 10000);
}

void DiscoveryTest::a_failed_enumeration_at_an_event_is_repeated_a_bounded_number_of_times()
{
    WidgetFixture fixture;
    fakehid::plug(simulated::qv8("usb-1-2"));  // still attached: an empty answer is a failure
    Widget &window = fixture.start();
    fakehid::plug(simulated::zy5("usb-1-3"));
    fakehid::fail_next("hid_enumerate");
    window.device_notifications()->rescan();
    QCOMPARE(fixture.devices().buttons().size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(fixture.devices().buttons().size(), 2, 10000);

    check_bounded_retries(fixture, window, simulated::wk3("usb-1-4"), "hid_enumerate", 2);
}
#endif

QTEST_MAIN(DiscoveryTest)
#include "tst_discovery.moc"
