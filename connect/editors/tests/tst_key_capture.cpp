// The portable side of key capture: the hook procedure's decisions, the key states, the
// key combination built from key sequences and the macro recorded with its delays.
#include "editors/KeyCapture.h"
#include "editors/KeyCombination.h"
#include "editors/KeyTables.h"
#include "editors/MacroRecording.h"

#include <QtTest>

#include <memory>
#include <vector>

namespace {

constexpr std::uint32_t LCTRL = 0xA2, LSHIFT = 0xA0, LALT = 0xA4, RALT = 0xA5, LWIN = 0x5B;
constexpr std::uint32_t TAB = 0x09, F5 = 0x74, NUMPAD3 = 0x63;

struct KeyCall {
    std::uint32_t vkey;
    KeyAction action;
    bool operator==(const KeyCall &other) const { return vkey == other.vkey && action == other.action; }
};

class RecordingSink : public KeySink
{
public:
    std::vector<KeyCall> calls;
    void key_event(std::uint32_t vkey, KeyAction action) override { calls.push_back({vkey, action}); }
};

// A sink that takes keys for the lifetime of the scope.
struct ScopedSink {
    RecordingSink sink;
    ScopedSink() { add_key_sink(&sink); }
    ~ScopedSink() { remove_key_sink(&sink); }
};

KeyCall down(std::uint32_t vkey) { return {vkey, KeyAction::Down}; }
KeyCall up(std::uint32_t vkey) { return {vkey, KeyAction::Up}; }

// Feeds a key sequence to a combination capture; how many presses renewed it.
int feed(KeyCombinationCapture &capture, const std::vector<KeyCall> &keys)
{
    int renewed = 0;
    for (const KeyCall &key : keys)
        renewed += capture.key_event(key.vkey, key.action) ? 1 : 0;
    return renewed;
}

struct ManualClock {
    std::int64_t now = 1000;
    MacroRecording::Clock function() { return [this] { return now; }; }
};

MacroEvent macro_event(std::uint8_t usage, std::uint8_t action, std::uint16_t delay)
{
    MacroEvent e;
    e.usage = usage;
    e.action = action;
    e.delay_ms = delay;
    return e;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<KeyCall>)

class KeyCaptureTest : public QObject
{
    Q_OBJECT
private slots:
    void hook_call_passes_other_codes_to_the_next_hook();
    void hook_call_counts_system_keys_as_keys_and_swallows_all();
    void hook_call_lets_through_releases_of_keys_it_did_not_swallow();
    void hook_call_takes_no_press_from_a_key_repeating_since_before();
    void newest_sink_takes_the_keys();
    void key_states_stay_in_bounds();

    void combination_from_key_sequences_data();
    void combination_from_key_sequences();
    void combination_repeats_and_releases();
    void combination_drops_keys_without_usage();
    void combination_keeps_a_raw_usage_until_the_key_changes();

    void macro_records_presses_and_releases_with_delays();
    void macro_ignores_repeats_and_earlier_keys();
    void macro_without_delays();
    void macro_pause_saturates();
    void macro_stops_at_100_events();
    void macro_drops_keys_without_usage();
};

void KeyCaptureTest::hook_call_passes_other_codes_to_the_next_hook()
{
    ScopedSink scoped;
    for (int code : {-1, 1, 3})
        QCOMPARE(low_level_key_call(code, kWmKeyDown, 0x41), HookAnswer::CallNextHook);
    QVERIFY(scoped.sink.calls.empty());
}

void KeyCaptureTest::hook_call_counts_system_keys_as_keys_and_swallows_all()
{
    ScopedSink scoped;
    QCOMPARE(low_level_key_call(0, 0x104, LALT), HookAnswer::Swallow);  // WM_SYSKEYDOWN
    QCOMPARE(low_level_key_call(0, 0x100, TAB), HookAnswer::Swallow);
    QCOMPARE(low_level_key_call(0, 0x101, TAB), HookAnswer::Swallow);
    QCOMPARE(low_level_key_call(0, 0x105, LALT), HookAnswer::Swallow);  // WM_SYSKEYUP
    QCOMPARE(low_level_key_call(0, 0x0200, 0), HookAnswer::Swallow);    // not a key message
    QCOMPARE(scoped.sink.calls, (std::vector<KeyCall>{down(LALT), down(TAB), up(TAB), up(LALT)}));
    remove_key_sink(&scoped.sink);
    QCOMPARE(low_level_key_call(0, 0x100, TAB), HookAnswer::Swallow);  // no sink: still harmless
}

// A key held when the hook came must come up for the whole desktop, or it stays down there.
void KeyCaptureTest::hook_call_lets_through_releases_of_keys_it_did_not_swallow()
{
    auto scoped = std::make_unique<ScopedSink>();
    QCOMPARE(low_level_key_call(0, kWmKeyUp, LSHIFT), HookAnswer::CallNextHook);
    QCOMPARE(low_level_key_call(0, 0x105, LALT), HookAnswer::CallNextHook);  // WM_SYSKEYUP
    QCOMPARE(low_level_key_call(0, kWmKeyDown, 0x41), HookAnswer::Swallow);
    QCOMPARE(low_level_key_call(0, kWmKeyDown, 0x41), HookAnswer::Swallow);  // repeat
    QCOMPARE(low_level_key_call(0, 0x104, LALT), HookAnswer::Swallow);       // WM_SYSKEYDOWN
    QCOMPARE(low_level_key_call(0, 0x105, LALT), HookAnswer::Swallow);
    QCOMPARE(low_level_key_call(0, kWmKeyUp, 0x41), HookAnswer::Swallow);
    QCOMPARE(low_level_key_call(0, kWmKeyUp, 0x41), HookAnswer::CallNextHook);  // already up
    QCOMPARE(scoped->sink.calls, (std::vector<KeyCall>{up(LSHIFT), up(LALT), down(0x41), down(0x41), down(LALT),
                                                       up(LALT), up(0x41), up(0x41)}));

    // A second hook keeps what the first swallowed; a hook installed later starts afresh.
    low_level_key_call(0, kWmKeyDown, 0x42);
    low_level_key_call(0, kWmKeyDown, 0x43);
    {
        ScopedSink nested;
        QCOMPARE(low_level_key_call(0, kWmKeyUp, 0x42), HookAnswer::Swallow);
    }
    scoped.reset();
    ScopedSink later;
    QCOMPARE(low_level_key_call(0, kWmKeyUp, 0x43), HookAnswer::CallNextHook);
}

// A key held since before the hook repeats its press: the hook swallows the repeats, and the
// release still comes up for the desktop.
void KeyCaptureTest::hook_call_takes_no_press_from_a_key_repeating_since_before()
{
    ScopedSink scoped;
    QCOMPARE(low_level_key_call(0, kWmKeyDown, LSHIFT, true), HookAnswer::Swallow);
    QCOMPARE(low_level_key_call(0, kWmKeyUp, LSHIFT), HookAnswer::CallNextHook);
    QCOMPARE(scoped.sink.calls, (std::vector<KeyCall>{down(LSHIFT), up(LSHIFT)}));
}

void KeyCaptureTest::newest_sink_takes_the_keys()
{
    RecordingSink older, newer;
    add_key_sink(&older);
    add_key_sink(&newer);
    low_level_key_call(0, kWmKeyDown, 0x41);
    remove_key_sink(&newer);
    low_level_key_call(0, kWmKeyDown, 0x42);
    remove_key_sink(&older);
    QCOMPARE(newer.calls, std::vector<KeyCall>{down(0x41)});
    QCOMPARE(older.calls, std::vector<KeyCall>{down(0x42)});
    QVERIFY(!current_key_sink());
}

void KeyCaptureTest::key_states_stay_in_bounds()
{
    KeyStates states;
    for (std::uint32_t vkey : {0xFFu, 0x100u, 0x141u, 0xFFFFFFFFu}) {
        QVERIFY(!states.press(vkey));
        QVERIFY(!states.release(vkey));
    }
    QVERIFY(states.press(0x41));  // 0x141 did not stand for 0x41
    QVERIFY(!states.press(0x41));
    QVERIFY(states.release(0x41));
    QVERIFY(!states.release(0x41));
}

void KeyCaptureTest::combination_from_key_sequences_data()
{
    QTest::addColumn<std::vector<KeyCall>>("keys");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("shift, ctrl, A") << std::vector<KeyCall>{down(LSHIFT), down(LCTRL), down(0x41)} << 0x03 << 0x41
                                    << QString("CTRL+SHIFT+A");
    QTest::newRow("right alt only") << std::vector<KeyCall>{down(RALT)} << 0x40 << 0 << QString("RIGHT ALT");
    QTest::newRow("A then B") << std::vector<KeyCall>{down(0x41), up(0x41), down(0x42)} << 0 << 0x42 << QString("B");
    QTest::newRow("F5") << std::vector<KeyCall>{down(F5)} << 0 << int(F5) << QString("F5");
    QTest::newRow("keypad 3") << std::vector<KeyCall>{down(NUMPAD3)} << 0 << int(NUMPAD3) << QString("NUMPAD3");
    QTest::newRow("all modifiers") << std::vector<KeyCall>{down(0x5C), down(0xA1), down(RALT), down(0xA3),
                                                           down(LWIN), down(LALT), down(LSHIFT), down(LCTRL)}
                                   << 0xFF << 0
                                   << QString("CTRL+ALT+SHIFT+WIN+RIGHT CTRL+RIGHT ALT+RIGHT SHIFT+RIGHT WIN");
    QTest::newRow("releases keep the keys")
        << std::vector<KeyCall>{down(LCTRL), down(0x43), up(0x43), up(LCTRL)} << 0x01 << 0x43 << QString("CTRL+C");
}

void KeyCaptureTest::combination_from_key_sequences()
{
    QFETCH(std::vector<KeyCall>, keys);
    QFETCH(int, modifiers);
    QFETCH(int, key);
    QFETCH(QString, text);
    KeyCombinationCapture capture;
    feed(capture, keys);
    QCOMPARE(int(capture.combination().modifiers), modifiers);
    QCOMPARE(int(capture.combination().key), key);
    QCOMPARE(combination_text(capture.combination()), text);
}

void KeyCaptureTest::combination_repeats_and_releases()
{
    KeyCombinationCapture capture;
    // Held Ctrl repeats its key-down: one renewal; a release renews nothing.
    QCOMPARE(feed(capture, {down(LCTRL), down(LCTRL), down(LCTRL), up(LCTRL)}), 1);
    // After its release the same key counts again.
    QCOMPARE(feed(capture, {down(LCTRL)}), 1);
    capture.clear();
    QCOMPARE(capture.combination().modifiers, std::uint8_t(0));
    QCOMPARE(combination_text(capture.combination()), QString());
    QCOMPARE(feed(capture, {down(LCTRL), up(LCTRL)}), 0);  // Ctrl is still down from before
}

void KeyCaptureTest::combination_drops_keys_without_usage()
{
    KeyCombinationCapture capture;
    QCOMPARE(feed(capture, {down(0x41), down(0x10), down(0x7C), down(0x6C)}), 1);  // A, generic Shift, F13, separator
    QCOMPARE(capture.combination().key, std::uint8_t(0x41));
    QCOMPARE(capture.combination().key_usage, std::uint8_t(0x04));
}

void KeyCaptureTest::combination_keeps_a_raw_usage_until_the_key_changes()
{
    KeyCombinationCapture capture;
    capture.load(0x01, 0x58);  // Ctrl + keypad Enter: no virtual key of ours
    QCOMPARE(capture.combination().key, kNoKey);
    QCOMPARE(capture.combination().key_usage, std::uint8_t(0x58));
    feed(capture, {down(LSHIFT)});  // a modifier leaves the key alone
    QCOMPARE(capture.combination().modifiers, std::uint8_t(0x03));
    QCOMPARE(capture.combination().key_usage, std::uint8_t(0x58));
    feed(capture, {down(0x42)});
    QCOMPARE(capture.combination().key_usage, std::uint8_t(0x05));

    capture.load(0x00, 0x06);  // a listed usage comes back as its key
    QCOMPARE(capture.combination().key, std::uint8_t(0x43));
    QCOMPARE(combination_text(capture.combination()), QString("C"));
}

void KeyCaptureTest::macro_records_presses_and_releases_with_delays()
{
    ManualClock clock;
    MacroRecording macro(clock.function());
    macro.start(true);
    clock.now += 400;  // before the first event: not counted
    QCOMPARE(macro.key_event(LCTRL, KeyAction::Down), MacroRecording::Step::Recorded);
    clock.now += 120;
    macro.key_event(0x43, KeyAction::Down);
    clock.now += 80;
    macro.key_event(0x43, KeyAction::Up);
    clock.now += 250;
    macro.key_event(LCTRL, KeyAction::Up);
    QCOMPARE(macro.events(), (std::vector<MacroEvent>{macro_event(0xE0, 0, 0), macro_event(0x06, 0, 120), macro_event(0x06, 1, 80),
                                                      macro_event(0xE0, 1, 250)}));
    QVERIFY(macro.recording());

    // Alt+Tab and the Windows key are recorded like any key.
    macro.start(false);
    for (std::uint32_t vkey : {LALT, TAB})
        macro.key_event(vkey, KeyAction::Down);
    macro.key_event(LWIN, KeyAction::Down);
    QCOMPARE(macro.events(), (std::vector<MacroEvent>{macro_event(0xE2, 0, 0), macro_event(0x2B, 0, 0), macro_event(0xE3, 0, 0)}));
}

void KeyCaptureTest::macro_ignores_repeats_and_earlier_keys()
{
    ManualClock clock;
    MacroRecording macro(clock.function());
    QCOMPARE(macro.key_event(0x41, KeyAction::Down), MacroRecording::Step::Ignored);  // not recording
    macro.start(false);
    QCOMPARE(macro.key_event(LSHIFT, KeyAction::Up), MacroRecording::Step::Ignored);  // down before the start
    for (int repeat = 0; repeat < 30; ++repeat)
        macro.key_event(0x41, KeyAction::Down);
    macro.key_event(0x41, KeyAction::Up);
    QCOMPARE(macro.events(), (std::vector<MacroEvent>{macro_event(0x04, 0, 0), macro_event(0x04, 1, 0)}));
    QCOMPARE(macro.key_event(0x141, KeyAction::Down), MacroRecording::Step::Ignored);  // beyond the key codes
}

void KeyCaptureTest::macro_without_delays()
{
    ManualClock clock;
    MacroRecording macro(clock.function());
    macro.start(false);
    for (std::uint32_t vkey : {0x41u, 0x42u}) {
        clock.now += 5000;
        macro.key_event(vkey, KeyAction::Down);
    }
    QCOMPARE(macro.events(), (std::vector<MacroEvent>{macro_event(0x04, 0, 0), macro_event(0x05, 0, 0)}));
}

void KeyCaptureTest::macro_pause_saturates()
{
    ManualClock clock;
    MacroRecording macro(clock.function());
    macro.start(true);
    macro.key_event(0x41, KeyAction::Down);
    clock.now += 65535;
    macro.key_event(0x41, KeyAction::Up);
    clock.now += 65536 + 250;  // would wrap to 250
    macro.key_event(0x42, KeyAction::Down);
    clock.now += 10 * 60 * 1000;
    macro.key_event(0x42, KeyAction::Up);
    QCOMPARE(macro.events().at(1).delay_ms, std::uint16_t(65535));
    QCOMPARE(macro.events().at(2).delay_ms, std::uint16_t(65535));
    QCOMPARE(macro.events().at(3).delay_ms, std::uint16_t(65535));
}

void KeyCaptureTest::macro_stops_at_100_events()
{
    ManualClock clock;
    MacroRecording macro(clock.function());
    macro.start(true);
    for (int stroke = 0; stroke < 49; ++stroke) {
        QCOMPARE(macro.key_event(0x41, KeyAction::Down), MacroRecording::Step::Recorded);
        QCOMPARE(macro.key_event(0x41, KeyAction::Up), MacroRecording::Step::Recorded);
    }
    QCOMPARE(macro.key_event(0x42, KeyAction::Down), MacroRecording::Step::Recorded);
    QCOMPARE(macro.key_event(0x42, KeyAction::Up), MacroRecording::Step::Full);
    QVERIFY(!macro.recording());
    QCOMPARE(macro.key_event(0x43, KeyAction::Down), MacroRecording::Step::Ignored);
    QCOMPARE(macro.events().size(), std::size_t(100));
    QCOMPARE(macro.events().back(), macro_event(0x05, 1, 0));
}

void KeyCaptureTest::macro_drops_keys_without_usage()
{
    ManualClock clock;
    MacroRecording macro(clock.function());
    macro.start(true);
    macro.key_event(0x41, KeyAction::Down);
    clock.now += 100;
    macro.key_event(0x10, KeyAction::Down);  // generic Shift: no usage, no event
    clock.now += 50;
    macro.key_event(0x10, KeyAction::Up);
    clock.now += 25;
    macro.key_event(0x41, KeyAction::Up);
    QCOMPARE(macro.events(), (std::vector<MacroEvent>{macro_event(0x04, 0, 0), macro_event(0x04, 1, 175)}));
}

QTEST_APPLESS_MAIN(KeyCaptureTest)
#include "tst_key_capture.moc"
