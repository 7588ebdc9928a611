// The real WH_KEYBOARD_LL hook: keys sent with SendInput reach the macro recorder and the
// key-combination edit, and no key is taken once the hook is gone.
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

void send_focus(QWidget *widget, QEvent::Type type)
{
    QFocusEvent event(type, Qt::OtherFocusReason);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class KeyboardHookTest : public QObject
{
    Q_OBJECT
private slots:
    void the_recorder_records_keys_sent_to_the_desktop();
    void the_edit_takes_a_combination_sent_to_the_desktop();
};

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

QTEST_MAIN(KeyboardHookTest)
#include "tst_keyboard_hook.moc"
