// The ZY5 reports against the simulated mouse: every command on the command interface,
// macros in chunks on the macro interface, and what failures give.
#include "Zy5Fixture.h"
#include "devices/Zy5Link.h"

#include <QtTest>

#include <vector>

Q_DECLARE_METATYPE(std::vector<MacroEvent>)

namespace {

std::vector<MacroEvent> macro_of(int count)
{
    std::vector<MacroEvent> events;
    for (int i = 0; i < count; ++i)
        events.push_back({std::uint8_t(4 + i % 30), std::uint8_t(i % 2), std::uint16_t(i * 257 % 65536)});
    return events;
}

std::optional<zy5::Lighting> read_lighting(const QString &path)
{
    const auto reply = zy5::ask(path, zy5::read_lighting());
    return reply ? zy5::lighting_in_reply(*reply) : std::nullopt;
}

std::optional<zy5::DpiSettings> read_dpi(const QString &path)
{
    const auto reply = zy5::ask(path, zy5::read_dpi());
    return reply ? zy5::dpi_in_reply(*reply) : std::nullopt;
}

std::optional<std::uint8_t> read_rate(const QString &path)
{
    const auto reply = zy5::ask(path, zy5::read_report_rate());
    return reply ? zy5::report_rate_in_reply(*reply) : std::nullopt;
}

std::optional<zy5::ButtonAssignment> read_button(const QString &path, std::uint8_t button)
{
    const auto reply = zy5::ask(path, zy5::read_assignment(button));
    return reply ? zy5::assignment_in_reply(*reply) : std::nullopt;
}

bool same(const zy5::Lighting &a, const zy5::Lighting &b)
{
    return a.effect == b.effect && a.frequency == b.frequency && a.red == b.red && a.green == b.green &&
           a.blue == b.blue;
}

bool same(const zy5::DpiSettings &a, const zy5::DpiSettings &b)
{
    return a.levels == b.levels && a.current_level == b.current_level && a.aim == b.aim &&
           a.level_count_index == b.level_count_index;
}

bool same(const zy5::ButtonAssignment &a, const zy5::ButtonAssignment &b)
{
    return a.type == b.type && a.sub == b.sub && a.modifiers == b.modifiers && a.key_usage == b.key_usage;
}

} // namespace

class Zy5ProtocolTest : public QObject
{
    Q_OBJECT
private slots:
    void reads_report_the_device_state();
    void writes_come_back_from_reads();
    void button_assignments_come_back_from_reads();
    void restore_brings_back_the_factory_settings();
    void macros_travel_in_chunks_data();
    void macros_travel_in_chunks();
    void an_empty_macro_reads_nothing();
    void a_macro_longer_than_255_events_is_refused();
    void time_outs_and_short_replies_give_nothing();
    void a_failed_macro_read_invents_no_events();
    void a_failed_macro_write_says_so();
    void an_absent_mouse_gives_nothing();
};

void Zy5ProtocolTest::reads_report_the_device_state()
{
    Zy5Fixture mouse;
    auto &state = *mouse.state;
    state.effect = 2;
    state.frequency = 7;
    state.red = 18;
    state.green = 171;
    state.blue = 52;
    state.dpi_levels = {1, 20, 40, 100, 144};
    state.current_level = 3;
    state.aim = 9;
    state.level_count_index = 2;
    state.report_rate = 4;

    QVERIFY(same(*read_lighting(mouse.command_path), {2, 7, 18, 171, 52}));
    QVERIFY(same(*read_dpi(mouse.command_path), {{1, 20, 40, 100, 144}, 3, 9, 2}));
    QCOMPARE(*read_rate(mouse.command_path), std::uint8_t(4));
    // Each exchange opens and closes the mouse by itself.
    QCOMPARE(fakehid::calls("hid_open_path"), 3);
    QCOMPARE(fakehid::calls("hid_close"), 3);
}

void Zy5ProtocolTest::writes_come_back_from_reads()
{
    Zy5Fixture mouse;
    const zy5::Lighting lighting{6, 3, 1, 2, 3};
    const zy5::DpiSettings dpi{{144, 2, 3, 4, 5}, 4, 144, 0};
    QVERIFY(zy5::tell(mouse.command_path, zy5::write_lighting(lighting)));
    QVERIFY(zy5::tell(mouse.command_path, zy5::write_dpi(dpi)));
    QVERIFY(zy5::tell(mouse.command_path, zy5::write_report_rate(zy5::Rate125Hz)));

    QVERIFY(same(*read_lighting(mouse.command_path), lighting));
    QVERIFY(same(*read_dpi(mouse.command_path), dpi));
    QCOMPARE(*read_rate(mouse.command_path), std::uint8_t(zy5::Rate125Hz));
    QCOMPARE(mouse.state->dpi_levels[0], 144);
    QCOMPARE(Zy5Fixture::rejections(), 0);
}

void Zy5ProtocolTest::button_assignments_come_back_from_reads()
{
    Zy5Fixture mouse;
    const struct {
        std::uint8_t button;
        QByteArray request;
        zy5::ButtonAssignment expected;
    } rows[] = {
        {2, zy5::assign_function(2, 5), {zy5::MouseFunction, 5, 0, 0}},
        {9, zy5::assign_preset_keys(9, 3), {zy5::KeyCombination, 3, 0, 0}},
        {5, zy5::assign_custom_keys(5, 0x03, 0x04), {zy5::KeyCombination, 0, 0x03, 0x04}},
        {6, zy5::assign_macro(6, true, 30), {zy5::Macro, 1, 30, 0}},
    };
    for (const auto &row : rows) {
        QVERIFY(zy5::tell(mouse.command_path, row.request));
        QVERIFY2(same(*read_button(mouse.command_path, row.button), row.expected),
                 qPrintable(QString("button %1").arg(row.button)));
    }
    // The others keep theirs.
    QVERIFY(same(*read_button(mouse.command_path, 3), {zy5::MouseFunction, 1, 0, 0}));
    QCOMPARE(Zy5Fixture::rejections(), 0);
}

void Zy5ProtocolTest::restore_brings_back_the_factory_settings()
{
    Zy5Fixture mouse;
    zy5::tell(mouse.command_path, zy5::write_lighting({0, 8, 9, 9, 9}));
    zy5::tell(mouse.command_path, zy5::write_report_rate(zy5::Rate250Hz));
    zy5::tell(mouse.command_path, zy5::assign_function(4, 7));
    QVERIFY(zy5::tell(mouse.command_path, zy5::restore_factory_settings()));
    const simulated::Zy5State factory;
    QVERIFY(same(*read_lighting(mouse.command_path), {std::uint8_t(factory.effect), std::uint8_t(factory.frequency),
                                                      std::uint8_t(factory.red), std::uint8_t(factory.green),
                                                      std::uint8_t(factory.blue)}));
    QCOMPARE(*read_rate(mouse.command_path), std::uint8_t(factory.report_rate));
    QVERIFY(same(*read_button(mouse.command_path, 4), {zy5::MouseFunction, 2, 0, 0}));
}

void Zy5ProtocolTest::macros_travel_in_chunks_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("reports");  // on the macro interface
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("fourteen") << 14 << 1;
    QTest::newRow("fifteen") << 15 << 2;
    QTest::newRow("a hundred") << 100 << 8;
    QTest::newRow("255") << 255 << 19;
}

// Each report is built afresh: a shorter last chunk carries zeros after its events.
void Zy5ProtocolTest::macros_travel_in_chunks()
{
    QFETCH(int, count);
    QFETCH(int, reports);
    Zy5Fixture mouse;
    const std::vector<MacroEvent> events = macro_of(count);
    const auto built = zy5::macro_event_reports(7, events);
    if (count % 14) {
        const QByteArray &last = built->back();
        QCOMPARE(last.mid(5 + 4 * (count % 14)), QByteArray(64 - 5 - 4 * (count % 14), '\0'));
    }

    QCOMPARE(zy5::write_macro(mouse.command_path, mouse.macro_path, 7, true, events), zy5::MacroWrite::Written);
    QCOMPARE(Zy5Fixture::reports_written(), 1 + reports);
    QCOMPARE(fakehid::calls("hid_open_path"), reports ? 2 : 1);
    QCOMPARE(Zy5Fixture::rejections(), 0);

    const auto assignment = read_button(mouse.command_path, 7);
    QVERIFY(same(*assignment, {zy5::Macro, 1, std::uint8_t(count), 0}));
    const int written = Zy5Fixture::reports_written();
    const auto read = zy5::read_macro(mouse.macro_path, 7, assignment->modifiers);
    QVERIFY(read);
    QVERIFY(*read == events);
    QCOMPARE(Zy5Fixture::reports_written() - written, reports);
    QCOMPARE(Zy5Fixture::rejections(), 0);
}

void Zy5ProtocolTest::an_empty_macro_reads_nothing()
{
    Zy5Fixture mouse;
    const auto read = zy5::read_macro(mouse.macro_path, 3, 0);
    QVERIFY(read && read->empty());
    QVERIFY(fakehid::call_log().empty());
}

void Zy5ProtocolTest::a_macro_longer_than_255_events_is_refused()
{
    Zy5Fixture mouse;
    zy5::write_macro(mouse.command_path, mouse.macro_path, 7, false, macro_of(10));
    const int written = Zy5Fixture::reports_written();
    QCOMPARE(zy5::write_macro(mouse.command_path, mouse.macro_path, 7, false, macro_of(256)),
             zy5::MacroWrite::TooLong);
    QCOMPARE(Zy5Fixture::reports_written(), written);
    QCOMPARE(mouse.state->buttons.at(7).modifiers, 10);
    QVERIFY(!zy5::macro_event_reports(7, macro_of(256)));
}

// A reply that does not come, or too short for its block, is no value: nothing of an
// earlier reply is taken for it.
void Zy5ProtocolTest::time_outs_and_short_replies_give_nothing()
{
    Zy5Fixture mouse;
    QVERIFY(read_lighting(mouse.command_path));
    mouse.state->answers = false;
    QVERIFY(!zy5::ask(mouse.command_path, zy5::read_dpi()));
    QVERIFY(!read_rate(mouse.command_path));
    QVERIFY(!read_button(mouse.command_path, 2));

    mouse.state->answers = true;
    mouse.state->reply_length = 10;  // one byte short of the lighting and DPI blocks
    QVERIFY(!read_lighting(mouse.command_path));
    QVERIFY(!read_dpi(mouse.command_path));
    QVERIFY(read_rate(mouse.command_path));
    QVERIFY(read_button(mouse.command_path, 2));
    mouse.state->reply_length = 3;
    QVERIFY(!read_rate(mouse.command_path));
    mouse.state->reply_length = 7;
    QVERIFY(!read_button(mouse.command_path, 2));

    fakehid::fail_next("hid_read_timeout");
    mouse.state->reply_length = 32;
    QVERIFY(!read_lighting(mouse.command_path));
    fakehid::fail_next("hid_write");
    QVERIFY(!read_lighting(mouse.command_path));
    fakehid::fail_next("hid_write");
    QVERIFY(!zy5::tell(mouse.command_path, zy5::write_report_rate(zy5::Rate500Hz)));
}

void Zy5ProtocolTest::a_failed_macro_read_invents_no_events()
{
    Zy5Fixture mouse;
    QCOMPARE(zy5::write_macro(mouse.command_path, mouse.macro_path, 8, false, macro_of(20)), zy5::MacroWrite::Written);
    mouse.state->answers = false;
    QVERIFY(!zy5::read_macro(mouse.macro_path, 8, 20));
    mouse.state->answers = true;
    mouse.state->macro_reply_length = 6 + 4 * 6 - 1;  // the second chunk's six events do not fit
    QVERIFY(!zy5::read_macro(mouse.macro_path, 8, 20));
    mouse.state->macro_reply_length = 64;
    fakehid::fail_next("hid_read_timeout");
    QVERIFY(!zy5::read_macro(mouse.macro_path, 8, 20));
    QVERIFY(*zy5::read_macro(mouse.macro_path, 8, 20) == macro_of(20));
}

void Zy5ProtocolTest::an_absent_mouse_gives_nothing()
{
    Zy5Fixture mouse;
    fakehid::unplug(mouse.node);
    QVERIFY(!read_lighting(mouse.command_path));
    QVERIFY(!zy5::tell(mouse.command_path, zy5::write_report_rate(zy5::Rate1000Hz)));
    QCOMPARE(zy5::write_macro(mouse.command_path, mouse.macro_path, 2, false, macro_of(3)),
             zy5::MacroWrite::Failed);
    QVERIFY(!zy5::read_macro(mouse.macro_path, 2, 3));
    QCOMPARE(Zy5Fixture::reports_written(), 0);
}

// The macro interface opens before the assignment is written; a report that fails ends
// the write.
void Zy5ProtocolTest::a_failed_macro_write_says_so()
{
    Zy5Fixture mouse;
    const simulated::Zy5Button before = mouse.state->buttons.at(4);
    fakehid::fail_next("hid_open_path");
    QCOMPARE(zy5::write_macro(mouse.command_path, mouse.macro_path, 4, false, macro_of(30)), zy5::MacroWrite::Failed);
    QCOMPARE(Zy5Fixture::reports_written(), 0);
    QCOMPARE(mouse.state->buttons.at(4).type, before.type);

    fakehid::fail_next("hid_write");
    QCOMPARE(zy5::write_macro(mouse.command_path, mouse.macro_path, 4, false, macro_of(30)), zy5::MacroWrite::Failed);
    QCOMPARE(Zy5Fixture::reports_written(), 1);
    QCOMPARE(mouse.state->buttons.at(4).type, before.type);

    fakehid::fail_next("hid_write", 2);  // the assignment and the first chunk pass
    QCOMPARE(zy5::write_macro(mouse.command_path, mouse.macro_path, 4, false, macro_of(30)), zy5::MacroWrite::Failed);
    QCOMPARE(Zy5Fixture::reports_written(), 1 + 3);
    QCOMPARE(mouse.state->buttons.at(4).modifiers, 30);
}

QTEST_GUILESS_MAIN(Zy5ProtocolTest)
#include "tst_zy5_protocol.moc"
