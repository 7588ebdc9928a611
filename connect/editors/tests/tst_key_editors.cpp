// The key-combination edit and the macro recorder, with keys fed through the hook road;
// the keyboard grab that stands in for the Windows hook, fed with X key events.
#include "FakeKeyboardHook.h"
#include "editors/KeyTables.h"
#include "editors/micro_Widget.h"
#include "editors/mkey_Edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

constexpr std::uint32_t LCTRL = 0xA2, LSHIFT = 0xA0;

void send_focus(QWidget *widget, QEvent::Type type)
{
    QFocusEvent event(type, Qt::OtherFocusReason);
    QApplication::sendEvent(widget, &event);
}

// A key event as the xcb platform delivers it: X key symbol and keycode.
void send_x_key(QWidget *widget, QEvent::Type type, quint32 keysym, quint32 keycode, bool repeat = false)
{
    QKeyEvent event(type, 0, Qt::NoModifier, keycode, keysym, 0, QString(), repeat);
    QApplication::sendEvent(widget, &event);
}

QStringList row_texts(const QListWidget *view)
{
    QStringList texts;
    for (int row = 0; row < view->count(); ++row)
        texts << view->item(row)->text();
    return texts;
}

} // namespace

class KeyEditorsTest : public QObject
{
    Q_OBJECT
private slots:
    void edit_hooks_once_while_focused();
    void edit_clears_text_with_value();
    void edit_without_hook_takes_no_keys();
    void a_hook_that_cannot_be_removed_is_logged();
    void edit_shows_a_loaded_combination();
    void edit_takes_x_keys_through_the_grab();

    void recorder_records_a_key_stroke();
    void recorder_lists_delays();
    void recorder_stops_at_100_events();
    void recorder_without_hook_returns_to_idle();
    void recorder_dying_while_recording_takes_no_more_keys();
    void recorder_stops_when_focus_leaves();
};

void KeyEditorsTest::edit_hooks_once_while_focused()
{
    FakeHooks hooks;
    mkey_Edit edit;
    send_focus(edit.line_edit(), QEvent::FocusIn);
    send_focus(edit.line_edit(), QEvent::FocusIn);
    QCOMPARE(hooks.installs, 1);

    for (std::uint32_t vkey : {LSHIFT, LCTRL, 0x41u})
        press_key(vkey);
    QCOMPARE(edit.line_edit()->text(), QString("CTRL+SHIFT+A"));
    QCOMPARE(edit.combination().modifiers, std::uint8_t(0x03));
    QCOMPARE(edit.combination().key, std::uint8_t(0x41));
    QVERIFY(edit.save_button()->isEnabled());
    QVERIFY(edit.clear_button()->isEnabled());

    send_focus(edit.line_edit(), QEvent::FocusOut);
    QCOMPARE(hooks.removals, 1);
    press_key(0x42);
    QCOMPARE(edit.line_edit()->text(), QString("CTRL+SHIFT+A"));
}

void KeyEditorsTest::edit_clears_text_with_value()
{
    FakeHooks hooks;
    mkey_Edit edit;
    QSignalSpy saved(&edit, &mkey_Edit::mkey_save_clicked);
    send_focus(edit.line_edit(), QEvent::FocusIn);
    tap_key(0x74);
    QCOMPARE(edit.text(), QString("F5"));
    edit.save_button()->click();
    QCOMPARE(saved.count(), 1);

    edit.clear_button()->click();
    QCOMPARE(edit.line_edit()->text(), QString());
    QCOMPARE(edit.text(), QString());
    QCOMPARE(edit.combination().key, kNoKey);
    QVERIFY(!edit.save_button()->isEnabled());
    press_key(0x63);
    QCOMPARE(edit.text(), QString("NUMPAD3"));
}

void KeyEditorsTest::edit_without_hook_takes_no_keys()
{
    FakeHooks hooks;
    hooks.fail = true;
    mkey_Edit edit;
    QTest::ignoreMessage(QtDebugMsg, "keyboard hook cannot be installed");
    send_focus(edit.line_edit(), QEvent::FocusIn);
    QVERIFY(!current_key_sink());
    send_focus(edit.line_edit(), QEvent::FocusOut);
    QCOMPARE(hooks.removals, 0);
}

void KeyEditorsTest::a_hook_that_cannot_be_removed_is_logged()
{
    FakeHooks hooks;
    hooks.fail_removal = true;
    mkey_Edit edit;
    send_focus(edit.line_edit(), QEvent::FocusIn);
    QTest::ignoreMessage(QtDebugMsg, "keyboard hook cannot be removed");
    send_focus(edit.line_edit(), QEvent::FocusOut);
    QCOMPARE(hooks.removals, 1);
    QVERIFY(!current_key_sink());
}

void KeyEditorsTest::edit_shows_a_loaded_combination()
{
    FakeHooks hooks;
    mkey_Edit edit;
    edit.load_combination(0x11, 0x06);
    edit.show_mkey();
    QCOMPARE(edit.line_edit()->text(), QString("CTRL+RIGHT CTRL+C"));
    edit.load_combination(0x04, 0x58);  // keypad Enter has no key of ours
    edit.show_mkey();
    QCOMPARE(edit.text(), QString("ALT"));
    QCOMPARE(edit.combination().key_usage, std::uint8_t(0x58));
}

void KeyEditorsTest::edit_takes_x_keys_through_the_grab()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has the low-level hook, no grab (tst_keyboard_hook)");
#endif
    mkey_Edit edit;
    edit.show();
    QLineEdit *line = edit.line_edit();
    send_focus(line, QEvent::FocusIn);
    QCOMPARE(QWidget::keyboardGrabber(), line);

    send_x_key(line, QEvent::KeyPress, 0xffe3, 37);  // Control_L
    send_x_key(line, QEvent::KeyPress, 0xffe3, 37, true);
    send_x_key(line, QEvent::KeyRelease, 0xffe3, 37, true);  // X repeats come as release and press
    send_x_key(line, QEvent::KeyPress, 0xffe3, 37, true);
    send_x_key(line, QEvent::KeyPress, 0x61, 38);  // a
    QCOMPARE(edit.text(), QString("CTRL+A"));
    send_x_key(line, QEvent::KeyPress, 0x3c, 94);  // less, on the ISO key
    QCOMPARE(edit.text(), QString("CTRL+<>"));
    QCOMPARE(edit.combination().key_usage, std::uint8_t(0x64));

    send_focus(line, QEvent::FocusOut);
    QCOMPARE(QWidget::keyboardGrabber(), nullptr);
    QVERIFY(!current_key_sink());
}

void KeyEditorsTest::recorder_records_a_key_stroke()
{
    FakeHooks hooks;
    micro_Widget recorder;
    recorder.record_button()->click();
    QVERIFY(recorder.recording());
    QCOMPARE(recorder.record_button()->text(), QString("停止录制"));
    QVERIFY(!recorder.save_button()->isEnabled());
    QVERIFY(!recorder.delay_option()->isEnabled());

    press_key(LCTRL);
    press_key(0x43);
    press_key(0x43);  // repeat
    release_key(0x43);
    release_key(LCTRL);
    QCOMPARE(recorder.events().size(), std::size_t(4));
    QCOMPARE(recorder.events()[0].usage, std::uint8_t(0xE0));
    QCOMPARE(recorder.events()[1].usage, std::uint8_t(0x06));
    QCOMPARE(row_texts(recorder.event_view()), (QStringList{"CTRL", "C", "C", "CTRL"}));
    QCOMPARE(recorder.event_view()->currentRow(), 3);

    recorder.record_button()->click();
    QVERIFY(!recorder.recording());
    QCOMPARE(recorder.record_button()->text(), QString("启动录制"));
    QVERIFY(recorder.save_button()->isEnabled());
    QCOMPARE(hooks.installs, 1);
    QCOMPARE(hooks.removals, 1);
    QCOMPARE(recorder.events().size(), std::size_t(4));  // the macro stays
}

void KeyEditorsTest::recorder_lists_delays()
{
    FakeHooks hooks;
    micro_Widget recorder;
    recorder.delay_option()->setChecked(true);
    recorder.record_button()->click();
    QVERIFY(recorder.record_delay());
    press_key(LCTRL);
    tap_key(0x43);
    release_key(LCTRL);
    const QStringList rows = row_texts(recorder.event_view());
    QCOMPARE(rows.size(), 7);
    QVERIFY(rows[1].endsWith(" 毫秒延迟"));

    MacroEvent pause;
    pause.usage = 0x04;
    pause.action = 1;
    pause.delay_ms = 250;
    recorder.set_events({MacroEvent{0x04, 0, 0}, pause});
    recorder.show_records_list(true);
    QCOMPARE(row_texts(recorder.event_view()), (QStringList{"A", "250 毫秒延迟", "A"}));
    recorder.show_records_list(false);
    QCOMPARE(row_texts(recorder.event_view()), (QStringList{"A", "A"}));
}

void KeyEditorsTest::recorder_stops_at_100_events()
{
    FakeHooks hooks;
    micro_Widget recorder;
    recorder.record_button()->click();
    for (int stroke = 0; stroke < 50; ++stroke)
        tap_key(0x41 + stroke % 26);
    QVERIFY(!recorder.recording());
    QCOMPARE(recorder.record_button()->text(), QString("启动录制"));
    QCOMPARE(recorder.events().size(), std::size_t(100));
    QCOMPARE(hooks.removals, 1);
    QVERIFY(!current_key_sink());  // the next key reaches the window again
}

void KeyEditorsTest::recorder_without_hook_returns_to_idle()
{
    FakeHooks hooks;
    hooks.fail = true;
    micro_Widget recorder;
    recorder.set_events({MacroEvent{0x04, 0, 0}});
    QTest::ignoreMessage(QtDebugMsg, "keyboard hook cannot be installed");
    recorder.record_button()->click();
    QVERIFY(!recorder.recording());
    QCOMPARE(recorder.events().size(), std::size_t(1));  // the macro before is kept
    QCOMPARE(recorder.record_button()->text(), QString("启动录制"));
    QVERIFY(recorder.save_button()->isEnabled());
    QVERIFY(recorder.delay_option()->isEnabled());
    QVERIFY(!current_key_sink());
}

void KeyEditorsTest::recorder_dying_while_recording_takes_no_more_keys()
{
    FakeHooks hooks;
    auto recorder = std::make_unique<micro_Widget>();
    micro_Widget survivor;
    recorder->record_button()->click();
    QVERIFY(current_key_sink());
    recorder.reset();
    QCOMPARE(hooks.removals, 1);
    QVERIFY(!current_key_sink());
    tap_key(0x41);  // a late hook call reaches nothing
    QVERIFY(survivor.events().empty());
}

void KeyEditorsTest::recorder_stops_when_focus_leaves()
{
    FakeHooks hooks;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *recorder = new micro_Widget;
    auto *elsewhere = new QLineEdit;
    layout->addWidget(recorder);
    layout->addWidget(elsewhere);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    recorder->record_button()->click();
    QVERIFY(recorder->event_view()->hasFocus());
    recorder->record_button()->setFocus();  // the button's own click stops the recording
    QVERIFY(recorder->recording());
    recorder->event_view()->setFocus();
    elsewhere->setFocus();
    QVERIFY(!recorder->recording());
    QCOMPARE(hooks.removals, 1);
}

QTEST_MAIN(KeyEditorsTest)
#include "tst_key_editors.moc"
