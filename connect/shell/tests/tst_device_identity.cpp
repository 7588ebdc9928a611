// Device paths, serial keys and the WM_DEVICECHANGE record reader.
#include "common/DeviceIdentity.h"
#include "common/ReportDescriptor.h"
#include "shell/win32/DeviceBroadcast.h"

#include <QtTest>

#include <vector>

namespace {

// A DEV_BROADCAST_DEVICEINTERFACE_W record; record_size 0 means header plus name plus NUL.
std::vector<unsigned char> broadcast_record(std::uint32_t device_type, const std::u16string &name,
                                            std::uint32_t record_size = 0)
{
    std::vector<unsigned char> record(28, 0);
    for (char16_t c : name) {
        record.push_back(static_cast<unsigned char>(c & 0xFF));
        record.push_back(static_cast<unsigned char>(c >> 8));
    }
    if (record_size == 0) {
        record.insert(record.end(), {0, 0});
        record_size = std::uint32_t(record.size());
    }
    for (int i = 0; i < 4; ++i) {
        record[i] = static_cast<unsigned char>(record_size >> (8 * i));
        record[4 + i] = static_cast<unsigned char>(device_type >> (8 * i));
    }
    return record;
}

} // namespace

class DeviceIdentityTest : public QObject
{
    Q_OBJECT
private slots:
    void device_path_and_serial_key_data();
    void device_path_and_serial_key();
    void broadcast_names_are_read_from_interface_records();
    void broadcasts_that_are_not_interface_changes_are_ignored_data();
    void broadcasts_that_are_not_interface_changes_are_ignored();
    void name_stops_at_the_record_end_without_nul();
    void top_level_collections_data();
    void top_level_collections();
    void top_level_collections_keep_their_usage();
};

void DeviceIdentityTest::device_path_and_serial_key_data()
{
    QTest::addColumn<QString>("interface_path");
    QTest::addColumn<QString>("config_interface");
    QTest::addColumn<QString>("device_path");
    QTest::addColumn<QString>("serial_key");

    const QString qv8 = "\\\\?\\hid#vid_e4a9&pid_2e1c&mi_01#7&2a3b4c5d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    QTest::newRow("cut after the class guid") << qv8 + "\\kbd" << "mi_01" << qv8 << "2a3b4c5d";
    QTest::newRow("zy5 collection")
        << "\\\\?\\hid#vid_e4a9&pid_9d09&mi_01&col03#8&11223344&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030}"
        << "mi_01&col03"
        << "\\\\?\\hid#vid_e4a9&pid_9d09&mi_01&col03#8&11223344&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030}"
        << "11223344";
    QTest::newRow("cut at the first brace") << "a}b}c" << "a" << "a}" << "";
    QTest::newRow("no brace: empty path and key") << "hid#vid_e4a9&pid_2e1c&mi_01#7&2a3b4c5d" << "mi_01" << ""
                                                  << "";
    QTest::newRow("key shorter at the path end") << "x&mi_03#7&abc}" << "mi_03" << "x&mi_03#7&abc}" << "abc}";
    QTest::newRow("interface absent: no key") << "x&mi_02#7&12345678}" << "mi_03" << "x&mi_02#7&12345678}" << "";
}

void DeviceIdentityTest::device_path_and_serial_key()
{
    QFETCH(QString, interface_path);
    QFETCH(QString, config_interface);
    QFETCH(QString, device_path);
    QFETCH(QString, serial_key);
    QCOMPARE(device_path_of(interface_path), device_path);
    QCOMPARE(serial_key_of(device_path_of(interface_path), config_interface), serial_key);
}

void DeviceIdentityTest::broadcast_names_are_read_from_interface_records()
{
    const std::u16string name = u"\\\\?\\HID#VID_E4A9&PID_2E1C&MI_01#7&2A3B4C5D&0&0000#{4D1E55B2-F16F-11CF-88CB-001111000030}";
    const auto record = broadcast_record(kDbtDevtypDeviceInterface, name);

    const DeviceChange arrival = parse_device_change(kDbtDeviceArrival, record.data());
    QCOMPARE(int(arrival.kind), int(DeviceChangeKind::Arrival));
    QVERIFY(arrival.name == name);  // upper case is kept; the window lower-cases it

    const DeviceChange removal = parse_device_change(kDbtDeviceRemoveComplete, record.data());
    QCOMPARE(int(removal.kind), int(DeviceChangeKind::Removal));
    QVERIFY(removal.name == name);
}

void DeviceIdentityTest::broadcasts_that_are_not_interface_changes_are_ignored_data()
{
    QTest::addColumn<quint64>("event");
    QTest::addColumn<quint32>("device_type");
    QTest::addColumn<quint32>("record_size");

    QTest::newRow("volume arrival") << quint64(kDbtDeviceArrival) << quint32(2) << quint32(0);
    QTest::newRow("port removal") << quint64(kDbtDeviceRemoveComplete) << quint32(3) << quint32(0);
    QTest::newRow("query remove") << quint64(0x8001) << kDbtDevtypDeviceInterface << quint32(0);
    QTest::newRow("devnodes changed") << quint64(0x0007) << kDbtDevtypDeviceInterface << quint32(0);
    QTest::newRow("record shorter than its header") << quint64(kDbtDeviceArrival) << kDbtDevtypDeviceInterface
                                                    << quint32(12);
}

void DeviceIdentityTest::broadcasts_that_are_not_interface_changes_are_ignored()
{
    QFETCH(quint64, event);
    QFETCH(quint32, device_type);
    QFETCH(quint32, record_size);
    const auto record = broadcast_record(device_type, u"\\\\?\\hid#vid_e4a9&pid_2e1c&mi_01#x#{g}", record_size);
    QCOMPARE(int(parse_device_change(std::uintptr_t(event), record.data()).kind), int(DeviceChangeKind::Ignored));
    QCOMPARE(int(parse_device_change(kDbtDeviceArrival, nullptr).kind), int(DeviceChangeKind::Ignored));
}

void DeviceIdentityTest::name_stops_at_the_record_end_without_nul()
{
    // The record claims 28 + 8 bytes (four characters, no NUL); what follows must not be read.
    auto record = broadcast_record(kDbtDevtypDeviceInterface, u"abcdXYZ", 36);
    QVERIFY(parse_device_change(kDbtDeviceArrival, record.data()).name == u"abcd");

    // An odd size leaves half a character: it is not read either.
    record = broadcast_record(kDbtDevtypDeviceInterface, u"abcdXYZ", 35);
    QVERIFY(parse_device_change(kDbtDeviceArrival, record.data()).name == u"abc");
}

void DeviceIdentityTest::top_level_collections_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<int>("count");

    const QByteArray collection = QByteArray::fromHex("0600ff0901a101" "0901a100 0902 c0" "8102c0");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("one, with a nested collection") << collection << 1;
    QTest::newRow("three") << collection + collection + collection << 3;
    QTest::newRow("long item skipped") << QByteArray::fromHex("fe02aaa1c0") + collection << 1;
    QTest::newRow("4-byte item data skipped") << QByteArray::fromHex("27a1a1a1a1") + collection << 1;
    QTest::newRow("truncated") << QByteArray::fromHex("a101 fe") << 1;
}

void DeviceIdentityTest::top_level_collections()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(int, count);
    QCOMPARE(::top_level_collections(descriptor), count);
}

void DeviceIdentityTest::top_level_collections_keep_their_usage()
{
    // A mouse; a vendor collection whose nested usage is not its own; one that keeps the page.
    const QByteArray descriptor = QByteArray::fromHex("05010902a101" "0901a100c0" "c0"
                                                      "0600ff0901a101" "0905a100c0" "8102c0"
                                                      "0903a101c0");
    const QList<CollectionUsage> usages = top_level_collection_usages(descriptor);
    QCOMPARE(usages.size(), 3);
    QCOMPARE(usages[0].usage_page, quint16(0x01));
    QCOMPARE(usages[0].usage, quint16(0x02));
    QCOMPARE(usages[1].usage_page, quint16(0xFF00));
    QCOMPARE(usages[1].usage, quint16(0x01));
    QCOMPARE(usages[2].usage_page, quint16(0xFF00));
    QCOMPARE(usages[2].usage, quint16(0x03));
}

QTEST_GUILESS_MAIN(DeviceIdentityTest)
#include "tst_device_identity.moc"
