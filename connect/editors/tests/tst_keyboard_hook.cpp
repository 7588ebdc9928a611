// The real WH_KEYBOARD_LL hook: keys sent with SendInput reach the macro recorder and the
// key-combination edit and not the desktop, a key held from before the hook comes up for the
// desktop, and no key is taken once the hook is gone.
#include "editors/KeyCapture.h"
#include "editors/micro_Widget.h"
#include "editors/mkey_Edit.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <windows.h>

#include <vector>

namespace {

constexpr int kWaitMs = 10000;
constexpr WORD kLeftCtrl = VK_LCONTROL, kLeftShift = VK_LSHIFT;

struct Key {
    WORD vkey;
    bool up;
};

// Sends the keys as one input stream, as a keyboard would.
bool send_keys(const std::vector<Key> &keys)
{
    std::vector<INPUT> inputs;
    for (const Key &key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key.vkey;
        input.ki.wScan = WORD(MapVirtualKeyW(key.vkey, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = key.up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    }
    return SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// As the desktop sees it: GetAsyncKeyState follows only the keys no hook swallowed.
bool down_for_desktop(WORD vkey)
{
    return (GetAsyncKeyState(vkey) & 0x8000) != 0;
}

void send_focus(QWidget *widget, QEvent::Type type)
{
    QFocusEvent event(type, Qt::OtherFocusReason);
    QApplication::sendEvent(widget, &event);
}

// Shift down for the desktop, then the edit shown and focused: its hook comes.
bool hold_shift_then_focus(mkey_Edit &edit)
{
    edit.show();
    if (!send_keys({{kLeftShift, false}}) || !QTest::qWaitFor([] { return down_for_desktop(VK_SHIFT); }, kWaitMs))
        return false;
    send_focus(edit.line_edit(), QEvent::FocusIn);
    return current_key_sink() != nullptr;
}

} // namespace

class KeyboardHookTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void the_recorder_records_keys_sent_to_the_desktop();
    void the_edit_takes_a_combination_sent_to_the_desktop();
    void keys_reach_the_desktop_only_without_the_hook();
    void a_key_held_before_the_hook_comes_up_for_the_desktop();
    void a_key_repeating_since_before_the_hook_comes_up_for_the_desktop();
};

// No key stays down for the tests after a failed one.
void KeyboardHookTest::cleanup()
{
    send_keys({{'X', true}, {kLeftShift, true}});
    QTest::qWait(100);
}

void KeyboardHookTest::the_recorder_records_keys_sent_to_the_desktop()
{
    micro_Widget recorder;
    recorder.show();
    recorder.record_button()->click();
    QVERIFY(recorder.recording());
    QVERIFY(current_key_sink());

    QVERIFY(send_keys({{kLeftCtrl, false}, {'C', false}, {'C', true}, {kLeftCtrl, true}}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.events().size(), std::size_t(4), kWaitMs);
    const std::vector<MacroEvent> &events = recorder.events();
    QCOMPARE(events[0].usage, std::uint8_t(0xE0));
    QCOMPARE(events[0].action, std::uint8_t(0));
    QCOMPARE(events[1].usage, std::uint8_t(0x06));
    QCOMPARE(events[2].usage, std::uint8_t(0x06));
    QCOMPARE(events[2].action, std::uint8_t(1));
    QCOMPARE(events[3].usage, std::uint8_t(0xE0));
    QCOMPARE(events[3].action, std::uint8_t(1));

    recorder.record_button()->click();
    QVERIFY(!recorder.recording());
    QVERIFY(!current_key_sink());
    QVERIFY(send_keys({{'X', false}, {'X', true}}));
    QTest::qWait(300);
    QCOMPARE(recorder.events().size(), std::size_t(4));
}

void KeyboardHookTest::the_edit_takes_a_combination_sent_to_the_desktop()
{
    mkey_Edit edit;
    edit.show();
    send_focus(edit.line_edit(), QEvent::FocusIn);
    QVERIFY(current_key_sink());

    QVERIFY(send_keys({{kLeftShift, false}, {kLeftCtrl, false}, {'A', false},
                       {'A', true}, {kLeftCtrl, true}, {kLeftShift, true}}));
    QTRY_COMPARE_WITH_TIMEOUT(edit.line_edit()->text(), QString("CTRL+SHIFT+A"), kWaitMs);
    QCOMPARE(edit.combination().modifiers, std::uint8_t(0x03));
    QVERIFY(edit.save_button()->isEnabled());

    send_focus(edit.line_edit(), QEvent::FocusOut);
    QVERIFY(!current_key_sink());
    QVERIFY(send_keys({{'B', false}, {'B', true}}));
    QTest::qWait(300);
    QCOMPARE(edit.line_edit()->text(), QString("CTRL+SHIFT+A"));
}

void KeyboardHookTest::keys_reach_the_desktop_only_without_the_hook()
{
    micro_Widget recorder;
    recorder.show();
    QVERIFY(send_keys({{'X', false}}));
    QTRY_VERIFY_WITH_TIMEOUT(down_for_desktop('X'), kWaitMs);
    QVERIFY(send_keys({{'X', true}}));
    QTRY_VERIFY_WITH_TIMEOUT(!down_for_desktop('X'), kWaitMs);

    recorder.record_button()->click();
    QVERIFY(send_keys({{'X', false}}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.events().size(), std::size_t(1), kWaitMs);
    QTest::qWait(100);
    QVERIFY(!down_for_desktop('X'));
    QVERIFY(send_keys({{'X', true}}));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.events().size(), std::size_t(2), kWaitMs);

    recorder.record_button()->click();  // the hook goes
    QVERIFY(send_keys({{'X', false}}));
    QTRY_VERIFY_WITH_TIMEOUT(down_for_desktop('X'), kWaitMs);
    QVERIFY(send_keys({{'X', true}}));
    QTRY_VERIFY_WITH_TIMEOUT(!down_for_desktop('X'), kWaitMs);
    QCOMPARE(recorder.events().size(), std::size_t(2));
}

// Shift held, the edit focused (its hook comes), Shift released: the desktop must see the
// release, or the next "d" typed anywhere comes out as "D".
void KeyboardHookTest::a_key_held_before_the_hook_comes_up_for_the_desktop()
{
    mkey_Edit edit;
    QVERIFY(hold_shift_then_focus(edit));
    QVERIFY(send_keys({{kLeftShift, true}, {'D', false}, {'D', true}}));
    QTRY_COMPARE_WITH_TIMEOUT(edit.line_edit()->text(), QString("D"), kWaitMs);
    QVERIFY(!down_for_desktop(VK_SHIFT));
    QVERIFY(!down_for_desktop(kLeftShift));
    send_focus(edit.line_edit(), QEvent::FocusOut);
}

void KeyboardHookTest::a_key_repeating_since_before_the_hook_comes_up_for_the_desktop()
{
    mkey_Edit edit;
    QVERIFY(hold_shift_then_focus(edit));
    // Held past the repeat delay: the hook sees more presses of the key before its release.
    QVERIFY(send_keys({{kLeftShift, false}, {kLeftShift, false}, {kLeftShift, true}}));
    QTRY_VERIFY_WITH_TIMEOUT(!down_for_desktop(VK_SHIFT), kWaitMs);
    QVERIFY(!down_for_desktop(kLeftShift));
    send_focus(edit.line_edit(), QEvent::FocusOut);
}

QTEST_MAIN(KeyboardHookTest)
#include "tst_keyboard_hook.moc"
