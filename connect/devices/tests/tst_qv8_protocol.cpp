// The QV8 reports byte for byte, their CRC, and the reading of replies.
#include "devices/Qv8Crc.h"
#include "devices/Qv8Protocol.h"

#include <QtTest>

using qv8::Setting;

Q_DECLARE_METATYPE(std::function<QByteArray()>)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

} // namespace

class Qv8ProtocolTest : public QObject
{
    Q_OBJECT
private slots:
    void crc_is_crc8_maxim();
    void reports_match_the_command_table_data();
    void reports_match_the_command_table();
    void dpi_values_fall_into_choices_data();
    void dpi_values_fall_into_choices();
    void replies_too_short_for_their_value_give_nothing();
    void version_text_data();
    void version_text();
};

void Qv8ProtocolTest::crc_is_crc8_maxim()
{
    const QByteArray digits = "123456789";
    QCOMPARE(int(qv8::crc8(reinterpret_cast<const std::uint8_t *>(digits.constData()), 9)), 0xA1);
    QCOMPARE(int(qv8::crc8(nullptr, 0)), 0);
}

// Each row: the report a call builds, up to and including its CRC; zeros follow.
void Qv8ProtocolTest::reports_match_the_command_table_data()
{
    QTest::addColumn<std::function<QByteArray()>>("build");
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char *name, std::function<QByteArray()> build, QByteArray expected) {
        QTest::newRow(name) << build << expected;
    };
    row("version query", qv8::version_query, bytes({0x01, 0x02, 0x01, 0xCF}));
    row("main button query", [] { return qv8::query(Setting::MainButton); }, bytes({0x01, 0x87, 0x00, 0x41}));
    row("wheel query", [] { return qv8::query(Setting::WheelDirection); }, bytes({0x01, 0x86, 0x00, 0x85}));
    row("power query", [] { return qv8::query(Setting::PowerOnState); }, bytes({0x01, 0x88, 0x00, 0x59}));
    row("dpi query", [] { return qv8::query(Setting::Dpi); }, bytes({0x01, 0x44, 0x00, 0xA0}));
    row("main button 0", [] { return qv8::set_command(Setting::MainButton, 0); }, bytes({0x01, 0x07, 0x00, 0x6E}));
    row("main button 1", [] { return qv8::set_command(Setting::MainButton, 1); }, bytes({0x01, 0x47, 0x00, 0xF5}));
    row("main button 5", [] { return qv8::set_command(Setting::MainButton, 5); }, bytes({0x01, 0x47, 0x00, 0xF5}));
    row("wheel 0", [] { return qv8::set_command(Setting::WheelDirection, 0); }, bytes({0x01, 0x06, 0x00, 0xAA}));
    row("wheel 1", [] { return qv8::set_command(Setting::WheelDirection, 1); }, bytes({0x01, 0x46, 0x00, 0x31}));
    row("power 0", [] { return qv8::set_command(Setting::PowerOnState, 0); }, bytes({0x01, 0x08, 0x00, 0x76}));
    row("power 1", [] { return qv8::set_command(Setting::PowerOnState, 1); }, bytes({0x01, 0x48, 0x00, 0xED}));
    row("dpi 1200", [] { return qv8::set_command(Setting::Dpi, 0); }, bytes({0x01, 0x84, 0x08, 0xB0, 0x04, 0x91}));
    // Derived from the 1200 row: 0x08, then the level as little-endian 16 bits.
    row("dpi 1600", [] { return qv8::set_command(Setting::Dpi, 1); }, bytes({0x01, 0x84, 0x08, 0x40, 0x06, 0xB4}));
    row("dpi 2400", [] { return qv8::set_command(Setting::Dpi, 2); }, bytes({0x01, 0x84, 0x08, 0x60, 0x09, 0x34}));
    row("restore defaults", qv8::restore_defaults, bytes({0x01, 0x09, 0x00, 0xB2}));
}

void Qv8ProtocolTest::reports_match_the_command_table()
{
    QFETCH(std::function<QByteArray()>, build);
    QFETCH(QByteArray, expected);
    const QByteArray report = build();
    QCOMPARE(report.size(), qv8::kReportLength);
    QCOMPARE(report.left(expected.size()).toHex(' '), expected.toHex(' '));
    QCOMPARE(report.mid(expected.size()), QByteArray(qv8::kReportLength - expected.size(), '\0'));

    // The CRC rule holds for the row: command and parameters, never the report id.
    const auto *data = reinterpret_cast<const std::uint8_t *>(expected.constData());
    QCOMPARE(int(qv8::crc8(data + 1, std::size_t(expected.size() - 2))), int(data[expected.size() - 1]));
}

void Qv8ProtocolTest::dpi_values_fall_into_choices_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("choice");
    QTest::newRow("04 B0 (1200)") << bytes({1, 0x44, 0x04, 0xB0}) << 0;
    QTest::newRow("04 B1 (1201)") << bytes({1, 0x44, 0x04, 0xB1}) << 1;
    QTest::newRow("06 40 (1600)") << bytes({1, 0x44, 0x06, 0x40}) << 1;
    QTest::newRow("06 41 (1601)") << bytes({1, 0x44, 0x06, 0x41}) << 2;
    QTest::newRow("09 60 (2400)") << bytes({1, 0x44, 0x09, 0x60}) << 2;
    QTest::newRow("00 00") << bytes({1, 0x44, 0x00, 0x00}) << 0;
    QTest::newRow("FF FF, unsigned") << bytes({1, 0x44, 0xFF, 0xFF}) << 2;
}

void Qv8ProtocolTest::dpi_values_fall_into_choices()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, choice);
    const std::optional<int> dpi = qv8::dpi_in_reply(reply);
    QVERIFY(dpi);
    QCOMPARE(qv8::dpi_choice(*dpi), choice);
}

void Qv8ProtocolTest::replies_too_short_for_their_value_give_nothing()
{
    QCOMPARE(qv8::choice_in_reply(bytes({1, 0x87})), std::nullopt);
    QCOMPARE(qv8::choice_in_reply(bytes({1, 0x87, 0xFF})), std::optional<int>(255));
    QCOMPARE(qv8::dpi_in_reply(bytes({1, 0x44, 0x09})), std::nullopt);
    QCOMPARE(qv8::dpi_in_reply(QByteArray()), std::nullopt);
}

void Qv8ProtocolTest::version_text_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("text");
    QTest::newRow("six characters") << QByteArray("\x01\x02V2.0.1rest", 13) << "V2.0.1";
    QTest::newRow("zero padded") << QByteArray("\x01\x02V3.1\0\0\0\0", 10) << "V3.1";
    QTest::newRow("zero inside") << QByteArray("\x01\x02V3\0.1X", 8) << "V3";
    QTest::newRow("short reply") << QByteArray("\x01\x02V4.", 5) << "V4.";
    QTest::newRow("all zero") << QByteArray(32, '\0') << "";
    QTest::newRow("Latin-1") << QByteArray("\x01\x02\xE9", 3) << QString(QChar(0xE9));
    QTest::newRow("no version byte") << QByteArray("\x01\x02", 2) << "V1.0.0";
    QTest::newRow("no reply") << QByteArray() << "V1.0.0";
}

void Qv8ProtocolTest::version_text()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, text);
    QCOMPARE(qv8::version_in_reply(reply), text);
}

QTEST_APPLESS_MAIN(Qv8ProtocolTest)
#include "tst_qv8_protocol.moc"
