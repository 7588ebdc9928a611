// Windows-style interface paths over the simulated bus (hidraw nodes, or on Windows hidapi's
// own interface paths), and opening by them. Node facts and opening by node are hidraw's.
#include "SimulatedDevices.h"
#include "common/HidBus.h"

#include <hidapi/hidapi.h>

#include <QDirIterator>
#include <QtTest>

namespace {

// The interfaces of the given ids after a fresh enumeration.
QList<HidInterface> enumerate(quint16 vendor_id = 0, quint16 product_id = 0)
{
    if (!HidBus::refresh())
        return {};
    return HidBus::attached(vendor_id, product_id);
}

QStringList paths_of(const QList<HidInterface> &interfaces)
{
    QStringList paths;
    for (const HidInterface &entry : interfaces)
        paths.append(entry.path);
    return paths;
}

int enumerations()
{
    return fakehid::calls("hid_enumerate");
}

} // namespace

class HidBusTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        fakehid::reset();
        QVERIFY(HidBus::refresh());  // forget the devices of the case before
    }

    void interfaces_get_lower_case_windows_paths();
    void interfaces_of_one_device_share_the_hash_and_ports_differ();
    void each_top_level_collection_is_an_interface();
    void serial_numbers_and_their_absence();
#ifndef Q_OS_WIN
    void a_failed_enumeration_keeps_the_last_list();
#endif
    void a_bus_left_empty_is_no_failure();
#ifndef Q_OS_WIN
    void a_failed_fact_read_keeps_the_paths_of_a_known_node();
#endif
#ifndef Q_OS_WIN
    void a_new_node_without_facts_waits_for_the_next_refresh();
#endif
    void opening_maps_a_path_back_to_its_node();
    void opening_works_from_the_list_without_enumerating();
#ifndef Q_OS_WIN
    void opening_finds_a_device_the_list_does_not_know_yet();
#endif
#ifndef Q_OS_WIN
    void a_node_taken_by_another_device_is_not_opened_for_the_old_path();
#endif
#ifndef Q_OS_WIN
    void a_node_whose_facts_cannot_be_read_still_opens();
#endif
    void opening_an_absent_device_fails();
    void an_opened_device_answers_and_fails_as_scripted();
    void pages_open_devices_only_through_the_bus();
};

void HidBusTest::interfaces_get_lower_case_windows_paths()
{
    fakehid::plug(simulated::qv8("usb-0000:00:14.0-2"));
    const QList<HidInterface> found = enumerate(0xE4A9, 0x2E1C);
    QCOMPARE(found.size(), 1);
    QVERIFY2(QRegularExpression("^\\\\\\\\\\?\\\\hid#vid_e4a9&pid_2e1c&mi_01#7&[0-9a-f]{8}&0&0000"
                                "#\\{4d1e55b2-f16f-11cf-88cb-001111000030\\}$")
                 .match(found[0].path)
                 .hasMatch(),
             qPrintable(found[0].path));
    QCOMPARE(found[0].vendor_id, quint16(0xE4A9));
    QCOMPARE(found[0].product_id, quint16(0x2E1C));
#ifdef Q_OS_WIN
    QCOMPARE(found[0].node, found[0].path.toUtf8());
#else
    QCOMPARE(found[0].node, QByteArray("/dev/hidraw0"));
#endif
}

void HidBusTest::interfaces_of_one_device_share_the_hash_and_ports_differ()
{
    fakehid::plug(simulated::device(0x507C, 0, "usb-1-2"));
    const std::string node = fakehid::plug(simulated::device(0x507C, 3, "usb-1-2"));
    fakehid::plug(simulated::device(0x507C, 3, "usb-1-3"));
    const QList<HidInterface> found = enumerate(0xE4A9, 0x507C);
    QCOMPARE(found.size(), 3);
    const auto hash = [](const QString &path) { return path.section('#', 2, 2).mid(2, 8); };
    QCOMPARE(hash(found[0].path), hash(found[1].path));
    QVERIFY(hash(found[1].path) != hash(found[2].path));

    // Plugged again into the same port, the device keeps its path.
    const QString before = found[1].path;
    fakehid::unplug(node);
    fakehid::plug(simulated::device(0x507C, 3, "usb-1-2"));
    QCOMPARE(paths_of(enumerate(0xE4A9, 0x507C)).count(before), 1);
}

void HidBusTest::each_top_level_collection_is_an_interface()
{
    fakehid::plug(simulated::zy5("usb-1-4"));
    const QList<HidInterface> found = enumerate(0xE4A9, 0x9D09);
    QCOMPARE(found.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(found[i].path.contains(QString("&mi_01&col0%1#7&").arg(i + 1)), qPrintable(found[i].path));
        QVERIFY2(found[i].path.contains(QString("&0&000%1#{").arg(i)), qPrintable(found[i].path));
#ifndef Q_OS_WIN
        QCOMPARE(found[i].node, found[0].node);  // one hidraw node serves every collection
#endif
    }
}

void HidBusTest::serial_numbers_and_their_absence()
{
    fakehid::Device with_serial = simulated::qv8("usb-1-5");
    with_serial.serial_number = L"A1B2";
    fakehid::plug(with_serial);
    fakehid::plug(simulated::qv8("usb-1-6"));  // hidapi reports a null serial
    const QList<HidInterface> found = enumerate(0, 0);
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].serial_number, QString("A1B2"));
    QCOMPARE(found[1].serial_number, QString());
}

#ifndef Q_OS_WIN
void HidBusTest::a_failed_enumeration_keeps_the_last_list()
{
    const std::string qv8 = fakehid::plug(simulated::qv8("usb-1-2"));
    const QStringList before = paths_of(enumerate());
    QCOMPARE(before.size(), 1);

    fakehid::plug(simulated::wk3("usb-1-3"));
    fakehid::fail_next("hid_enumerate");
    QVERIFY(!HidBus::refresh());
    QCOMPARE(paths_of(HidBus::attached()), before);
    QCOMPARE(enumerate().size(), 2);  // the next refresh sees the change
}
#endif

void HidBusTest::a_bus_left_empty_is_no_failure()
{
    const std::string qv8 = fakehid::plug(simulated::qv8("usb-1-2"));
    QCOMPARE(enumerate().size(), 1);
    fakehid::unplug(qv8);
    QVERIFY(HidBus::refresh());
    QVERIFY(HidBus::attached().isEmpty());
}

#ifndef Q_OS_WIN
void HidBusTest::a_failed_fact_read_keeps_the_paths_of_a_known_node()
{
    fakehid::plug(simulated::zy5("usb-1-2"));
    const QStringList before = paths_of(enumerate());
    QCOMPARE(before.size(), 3);
    fakehid::fail_next("hid_node_info");
    QVERIFY(HidBus::refresh());
    QCOMPARE(paths_of(HidBus::attached()), before);
}
#endif

#ifndef Q_OS_WIN
void HidBusTest::a_new_node_without_facts_waits_for_the_next_refresh()
{
    fakehid::plug(simulated::qv8("usb-1-2"));
    fakehid::fail_next("hid_node_info");
    QVERIFY(HidBus::refresh());
    QVERIFY(HidBus::attached().isEmpty());
    QCOMPARE(enumerate().size(), 1);
}
#endif

void HidBusTest::opening_maps_a_path_back_to_its_node()
{
    fakehid::plug(simulated::qv8("usb-1-2"));
    const std::string zy5_node = fakehid::plug(simulated::zy5("usb-1-3"));
    const QString command_path = enumerate(0xE4A9, 0x9D09).at(2).path;

    // The macro interface is reached through the command path, as the device page builds it.
    QString macro_path = command_path;
    macro_path.replace("mi_01&col03", "mi_01&col02").replace("0001#", "0002#");
    for (const QString &path : {command_path, macro_path, command_path.toUpper()}) {
        hid_device *device = HidBus::open_path(path);
        QVERIFY2(device, qPrintable(path));
        QCOMPARE(QString::fromStdString(fakehid::call_log().back()), QString::fromStdString("hid_open_path " + zy5_node));
        hid_close(device);
    }
}

void HidBusTest::opening_works_from_the_list_without_enumerating()
{
    fakehid::plug(simulated::qv8("usb-1-2"));
    const QString path = enumerate().at(0).path;
    const int before = enumerations();
    for (int i = 0; i < 3; ++i) {
        hid_device *device = HidBus::open_path(path);
        QVERIFY(device);
        hid_close(device);
    }
    QCOMPARE(enumerations(), before);
}

#ifndef Q_OS_WIN
void HidBusTest::opening_finds_a_device_the_list_does_not_know_yet()
{
    const std::string old_node = fakehid::plug(simulated::qv8("usb-1-2"));
    const QString path = enumerate().at(0).path;
    // Unplugged and plugged again: a new node, not yet seen by a refresh.
    fakehid::unplug(old_node);
    const std::string new_node = fakehid::plug(simulated::qv8("usb-1-2"));
    hid_device *device = HidBus::open_path(path);
    QVERIFY(device);
    QCOMPARE(QString::fromStdString(fakehid::call_log().back()), QString::fromStdString("hid_open_path " + new_node));
    hid_close(device);
    // The list is still the one of the last refresh.
    QCOMPARE(HidBus::attached().at(0).node, QByteArray::fromStdString(old_node));
}
#endif

#ifndef Q_OS_WIN
void HidBusTest::a_node_taken_by_another_device_is_not_opened_for_the_old_path()
{
    fakehid::plug(simulated::qv8("usb-1-2"));
    const QString qv8_path = enumerate().at(0).path;
    // Both go and come back before the next refresh: the WK3 now has the QV8's old node.
    fakehid::reset();
    const std::string wk3_node = fakehid::plug(simulated::wk3("usb-1-3"));
    const std::string qv8_node = fakehid::plug(simulated::qv8("usb-1-2"));
    QCOMPARE(HidBus::attached().at(0).node, QByteArray::fromStdString(wk3_node));

    hid_device *device = HidBus::open_path(qv8_path);
    QVERIFY(device);
    QCOMPARE(QString::fromStdString(fakehid::call_log().back()), QString::fromStdString("hid_open_path " + qv8_node));
    hid_close(device);
}
#endif

#ifndef Q_OS_WIN
void HidBusTest::a_node_whose_facts_cannot_be_read_still_opens()
{
    const std::string node = fakehid::plug(simulated::qv8("usb-1-2"));
    const QString path = enumerate().at(0).path;
    fakehid::fail_next("hid_node_info");
    hid_device *device = HidBus::open_path(path);
    QVERIFY(device);
    QCOMPARE(QString::fromStdString(fakehid::call_log().back()), QString::fromStdString("hid_open_path " + node));
    hid_close(device);
}
#endif

void HidBusTest::opening_an_absent_device_fails()
{
    const std::string node = fakehid::plug(simulated::qv8("usb-1-2"));
    const QString path = enumerate().at(0).path;
    fakehid::unplug(node);
    QVERIFY(!HidBus::open_path(path));
    QVERIFY(!HidBus::open_path("\\\\?\\hid#vid_e4a9&pid_2e1c&mi_01#7&00000000&0&0000#{x}"));
#ifdef Q_OS_WIN
    // A record path names its device for good: only the listed one is tried, and fails.
    QCOMPARE(fakehid::calls("hid_open_path"), 1);
    QCOMPARE(fakehid::calls("hid_open_path " + path.toStdString()), 1);
#else
    QCOMPARE(fakehid::calls("hid_open_path"), 0);  // a node gone may serve another device soon
#endif
}

void HidBusTest::an_opened_device_answers_and_fails_as_scripted()
{
    fakehid::Device zy5 = simulated::zy5("usb-1-2");
    zy5.collection_reports.clear();  // every collection takes every report
    zy5.respond = [](const fakehid::Bytes &written) -> std::optional<fakehid::Bytes> {
        if (written.at(1) != 0xA0)
            return std::nullopt;
        return fakehid::Bytes{written[0], 0xA0, 0x01};
    };
    const std::string node = fakehid::plug(zy5);
    hid_device *device = HidBus::open_path(enumerate(0, 0).at(2).path);
    QVERIFY(device);

    const unsigned char query[] = {0x06, 0xA0, 0x00};
    unsigned char reply[32] = {};
    QCOMPARE(hid_write(device, query, sizeof query), int(sizeof query));
    QCOMPARE(hid_read_timeout(device, reply, sizeof reply, 100), 3);
    QCOMPARE(reply[2], (unsigned char)0x01);
    QCOMPARE(hid_read_timeout(device, reply, sizeof reply, 100), 0);  // nothing more pending

    fakehid::fail_next("hid_write");
    QCOMPARE(hid_write(device, query, sizeof query), -1);
    fakehid::unplug(node);
    QCOMPARE(hid_read(device, reply, sizeof reply), -1);
    hid_close(device);
    QCOMPARE(QString::fromStdString(fakehid::call_log().back()), QString::fromStdString("hid_close " + node));
}

// A path is a Windows-style name on every system; only HidBus knows the node behind it.
void HidBusTest::pages_open_devices_only_through_the_bus()
{
    const QDir connect_sources(qEnvironmentVariable("CONNECT_SOURCE_DIR"));
    QVERIFY(connect_sources.exists("common/HidBus.cpp"));
    for (const char *folder : {"devices", "editors", "shell"}) {
        QDirIterator files(connect_sources.filePath(folder), {"*.cpp", "*.h"}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString name = files.next();
            if (name.contains("/tests/"))
                continue;
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(!file.readAll().contains("hid_open_path("), qPrintable(name));
        }
    }
}

QTEST_GUILESS_MAIN(HidBusTest)
#include "tst_hid_bus.moc"
