// The simulated QV8 receiver: what it accepts, what it rejects, how it answers.
#include "SimulatedDevices.h"
#include "devices/Qv8Crc.h"
#include "devices/Qv8Protocol.h"

#include <hidapi/hidapi.h>

#include <QtTest>

#include <algorithm>

using qv8::Setting;

namespace {

struct Receiver {
    std::shared_ptr<simulated::Qv8State> state = std::make_shared<simulated::Qv8State>();
    hid_device *handle = nullptr;

    Receiver()
    {
        fakehid::reset();
        handle = fakehid::open_node(fakehid::plug(simulated::qv8("usb-1-1", state)));
    }
    ~Receiver() { hid_close(handle); }

    // Writes the report and returns the answer, empty when there is none.
    QByteArray exchange(const QByteArray &report)
    {
        hid_write(handle, reinterpret_cast<const unsigned char *>(report.constData()), size_t(report.size()));
        QByteArray answer(qv8::kReplyLength, '\0');
        const int count = hid_read_timeout(handle, reinterpret_cast<unsigned char *>(answer.data()),
                                           size_t(answer.size()), qv8::kReplyTimeoutMs);
        return answer.left(std::max(count, 0));
    }
};

bool logged(const std::string &line)
{
    const auto &log = fakehid::call_log();
    return std::find(log.begin(), log.end(), line) != log.end();
}

} // namespace

class SimulatedQv8Test : public QObject
{
    Q_OBJECT
private slots:
    void queries_answer_from_the_state();
    void sets_change_the_state();
    void restore_defaults_resets_the_settings();
    void malformed_reports_are_rejected_and_logged_data();
    void malformed_reports_are_rejected_and_logged();
    void silent_and_short_answers();
};

void SimulatedQv8Test::queries_answer_from_the_state()
{
    Receiver receiver;
    *receiver.state = {1, 1, 0, 2400, "V9.8.7"};
    QCOMPARE(qv8::choice_in_reply(receiver.exchange(qv8::query(Setting::MainButton))), std::optional<int>(1));
    QCOMPARE(qv8::choice_in_reply(receiver.exchange(qv8::query(Setting::WheelDirection))), std::optional<int>(1));
    QCOMPARE(qv8::choice_in_reply(receiver.exchange(qv8::query(Setting::PowerOnState))), std::optional<int>(0));
    QCOMPARE(qv8::dpi_in_reply(receiver.exchange(qv8::query(Setting::Dpi))), std::optional<int>(2400));
    QCOMPARE(qv8::version_in_reply(receiver.exchange(qv8::version_query())), QString("V9.8.7"));
    receiver.state->version = "V1";
    QCOMPARE(receiver.exchange(qv8::version_query()).mid(2, 6), QByteArray("V1\0\0\0\0", 6));
}

void SimulatedQv8Test::sets_change_the_state()
{
    Receiver receiver;
    QVERIFY(receiver.exchange(qv8::set_command(Setting::MainButton, 1)).isEmpty());
    receiver.exchange(qv8::set_command(Setting::WheelDirection, 1));
    receiver.exchange(qv8::set_command(Setting::PowerOnState, 1));
    receiver.exchange(qv8::set_command(Setting::Dpi, 1));
    QCOMPARE(receiver.state->main_button, 1);
    QCOMPARE(receiver.state->wheel_direction, 1);
    QCOMPARE(receiver.state->power_on_state, 1);
    QCOMPARE(receiver.state->dpi, 1600);
    receiver.exchange(qv8::set_command(Setting::Dpi, 2));
    QCOMPARE(receiver.state->dpi, 2400);
    receiver.exchange(qv8::set_command(Setting::MainButton, 0));
    QCOMPARE(receiver.state->main_button, 0);
}

void SimulatedQv8Test::restore_defaults_resets_the_settings()
{
    Receiver receiver;
    *receiver.state = {1, 1, 1, 2400, "V9.8.7"};
    receiver.exchange(qv8::restore_defaults());
    QCOMPARE(receiver.state->main_button, 0);
    QCOMPARE(receiver.state->wheel_direction, 0);
    QCOMPARE(receiver.state->power_on_state, 0);
    QCOMPARE(receiver.state->dpi, 1200);
    QCOMPARE(receiver.state->version, std::string("V9.8.7"));
}

void SimulatedQv8Test::malformed_reports_are_rejected_and_logged_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QString>("reason");
    const QByteArray good = qv8::set_command(Setting::MainButton, 1);
    QTest::newRow("short") << good.left(32) << "length 32";
    QTest::newRow("long") << good + '\0' << "length 34";
    QByteArray other_id = good;
    other_id[0] = 0x02;
    QTest::newRow("report id") << other_id << "report id 2";
    QByteArray bad_crc = good;
    bad_crc[3] = char(bad_crc[3] ^ 1);
    QTest::newRow("crc") << bad_crc << "crc";
    QByteArray dpi_crc = qv8::set_command(Setting::Dpi, 1);
    dpi_crc[4] = 0x07;
    QTest::newRow("dpi crc") << dpi_crc << "crc";
    QByteArray unknown(qv8::kReportLength, '\0');
    unknown[0] = 0x01;
    unknown[1] = 0x55;
    unknown[3] = char(qv8::crc8(reinterpret_cast<const std::uint8_t *>(unknown.constData()) + 1, 2));
    QTest::newRow("unknown command") << unknown << "unknown command";
}

void SimulatedQv8Test::malformed_reports_are_rejected_and_logged()
{
    QFETCH(QByteArray, report);
    QFETCH(QString, reason);
    Receiver receiver;
    QVERIFY(receiver.exchange(report).isEmpty());
    QCOMPARE(receiver.state->main_button, 0);
    QCOMPARE(receiver.state->dpi, 1200);
    QVERIFY(logged("qv8 rejected: " + reason.toStdString()));
}

void SimulatedQv8Test::silent_and_short_answers()
{
    Receiver receiver;
    receiver.state->answers = false;
    QVERIFY(receiver.exchange(qv8::query(Setting::Dpi)).isEmpty());
    receiver.state->answers = true;
    receiver.state->reply_length = 3;
    QCOMPARE(receiver.exchange(qv8::query(Setting::Dpi)).size(), 3);
}

QTEST_APPLESS_MAIN(SimulatedQv8Test)
#include "tst_simulated_qv8.moc"
