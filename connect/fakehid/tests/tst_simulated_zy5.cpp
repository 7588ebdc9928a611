// The simulated ZY5: the reports it refuses, so that tests through it catch malformed ones.
#include "SimulatedDevices.h"

#include "common/HidBus.h"

#include <hidapi/hidapi.h>

#include <QtTest>

#include <algorithm>

Q_DECLARE_METATYPE(fakehid::Bytes)

namespace {

fakehid::Bytes report(std::uint8_t id, std::size_t length, std::initializer_list<std::uint8_t> bytes)
{
    fakehid::Bytes r(length, 0);
    r[0] = id;
    std::copy(bytes.begin(), bytes.end(), r.begin() + 1);
    return r;
}

} // namespace

class SimulatedZy5Test : public QObject
{
    Q_OBJECT
private slots:
    void malformed_reports_are_rejected_data();
    void malformed_reports_are_rejected();
    void a_short_last_chunk_may_keep_stale_events_behind_it();
    void each_interface_takes_only_its_own_reports();
    void an_empty_reply_reads_as_no_bytes();
};

void SimulatedZy5Test::malformed_reports_are_rejected_data()
{
    QTest::addColumn<fakehid::Bytes>("written");
    QTest::addColumn<QString>("reason");
    QTest::newRow("command report of 64 bytes") << report(0x4D, 64, {0xC4}) << "length 64";
    QTest::newRow("macro report of 32 bytes") << report(0x57, 32, {0xF0, 2, 1, 0}) << "length 32";
    QTest::newRow("unknown report id") << report(0x01, 32, {0xC4}) << "report id 1";
    QTest::newRow("unknown command") << report(0x4D, 32, {0x99}) << "unknown command 153";
    QTest::newRow("stale byte after a read request") << report(0x4D, 32, {0xC2, 0, 0, 7}) << "bytes after the fields";
    QTest::newRow("no events in a chunk") << report(0x57, 64, {0xF1, 2, 0, 0}) << "event count 0";
    QTest::newRow("fifteen events in a chunk") << report(0x57, 64, {0xF0, 2, 15, 0}) << "event count 15";
    QTest::newRow("button 10") << report(0x4D, 32, {0xB0, 10}) << "button 10";
    QTest::newRow("assignment type 3") << report(0x4D, 32, {0xB1, 2, 3}) << "assignment type 3";
    QTest::newRow("effect 5") << report(0x4D, 32, {0xA1, 0, 5, 4, 8}) << "lighting out of range";
    QTest::newRow("frequency 0") << report(0x4D, 32, {0xA1, 0, 1, 0, 8}) << "lighting out of range";
    QTest::newRow("lighting byte 2 not 0") << report(0x4D, 32, {0xA1, 1, 2, 4, 8}) << "lighting constants";
    QTest::newRow("lighting byte 5 not 0x08") << report(0x4D, 32, {0xA1, 0, 2, 4, 0}) << "lighting constants";
    QTest::newRow("lighting byte 6 not 0") << report(0x4D, 32, {0xA1, 0, 2, 4, 8, 1}) << "lighting constants";
    QTest::newRow("report rate 3") << report(0x4D, 32, {0xC3, 3}) << "report rate 3";
}

void SimulatedZy5Test::malformed_reports_are_rejected()
{
    QFETCH(fakehid::Bytes, written);
    QFETCH(QString, reason);
    fakehid::reset();
    auto state = std::make_shared<simulated::Zy5State>();
    hid_device *mouse = fakehid::open_node(fakehid::plug(simulated::zy5("usb-1-1", state)));
    hid_write(mouse, written.data(), written.size());
    unsigned char reply[64];
    QCOMPARE(hid_read_timeout(mouse, reply, sizeof reply, 100), 0);
    hid_close(mouse);
    const auto &log = fakehid::call_log();
    QVERIFY(std::find(log.begin(), log.end(), "zy5 rejected: " + reason.toStdString()) != log.end());
    QCOMPARE(state->effect, simulated::Zy5State().effect);
    QCOMPARE(state->report_rate, simulated::Zy5State().report_rate);
    fakehid::reset();
}

void SimulatedZy5Test::a_short_last_chunk_may_keep_stale_events_behind_it()
{
    fakehid::reset();
    auto state = std::make_shared<simulated::Zy5State>();
    hid_device *mouse = fakehid::open_node(fakehid::plug(simulated::zy5("usb-1-1", state)));
    const fakehid::Bytes chunk = report(0x57, 64, {0xF1, 2, 1, 14, 4, 0, 0, 0, 5, 1, 0, 0});
    QCOMPARE(hid_write(mouse, chunk.data(), chunk.size()), 64);
    hid_close(mouse);
    QCOMPARE(fakehid::calls("zy5 rejected"), 0);
    const fakehid::Bytes &macro = state->buttons.at(2).macro;
    QCOMPARE(fakehid::Bytes(macro.begin() + 56, macro.end()), (fakehid::Bytes{4, 0, 0, 0}));  // only the one counted
    fakehid::reset();
}

// Held to one collection, as the program opens them by path, each interface refuses the
// other's reports and the mouse never sees them.
void SimulatedZy5Test::each_interface_takes_only_its_own_reports()
{
    fakehid::reset();
    auto state = std::make_shared<simulated::Zy5State>();
    fakehid::plug(simulated::zy5("usb-1-1", state));
    QVERIFY(HidBus::refresh());
    const auto path = [](int collection) { return HidBus::interface_path(0xE4A9, 0x9D09, 1, collection, "usb-1-1/input1"); };
    const fakehid::Bytes command = report(0x4D, 32, {0xC3, 8});
    const fakehid::Bytes macro = report(0x57, 64, {0xF1, 3, 1, 0, 4, 0, 0, 0});
    const struct {
        int collection;
        const fakehid::Bytes &written;
        bool taken;
    } cases[] = {{3, command, true}, {2, command, false}, {2, macro, true}, {3, macro, false}, {1, command, false}};
    for (const auto &c : cases) {
        hid_device *handle = HidBus::open_path(path(c.collection));
        QVERIFY(handle);
        QCOMPARE(hid_write(handle, c.written.data(), c.written.size()) >= 0, c.taken);
        hid_close(handle);
    }
    QCOMPARE(state->report_rate, 8);
    QCOMPARE(state->buttons.at(3).macro.size(), std::size_t(4));
    QCOMPARE(fakehid::calls("report "), 3);
    QCOMPARE(fakehid::calls("zy5 rejected"), 0);
    fakehid::reset();
}

void SimulatedZy5Test::an_empty_reply_reads_as_no_bytes()
{
    fakehid::reset();
    auto state = std::make_shared<simulated::Zy5State>();
    state->reply_length = 0;
    hid_device *mouse = fakehid::open_node(fakehid::plug(simulated::zy5("usb-1-1", state)));
    const fakehid::Bytes ask = report(0x4D, 32, {0xC4});
    hid_write(mouse, ask.data(), ask.size());
    unsigned char reply[32] = {0x77};
    QCOMPARE(hid_read_timeout(mouse, reply, sizeof reply, 100), 0);
    QCOMPARE(reply[0], 0x77);
    hid_close(mouse);
    fakehid::reset();
}

QTEST_GUILESS_MAIN(SimulatedZy5Test)
#include "tst_simulated_zy5.moc"
