// The ZY5 button page against the simulated mouse: where the dialog opens, every button
// given a function, a preset or custom combination or a recorded macro and read back, a
// key with no table row written back unchanged, and macros read into the recorder.
#include "Zy5Fixture.h"
#include "devices/ZY5_Btn_Config.h"
#include "editors/FunctionLists.h"
#include "editors/PopBox.h"
#include "editors/btn_Dialog.h"
#include "editors/micro_Widget.h"
#include "editors/mkey_Edit.h"
#include "editors/tests/FakeKeyboardHook.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <functional>

namespace {

constexpr std::uint32_t LCTRL = 0xA2, LSHIFT = 0xA0, RALT = 0xA5;

// The simulated mouse, with every report written to it kept.
struct ButtonsFixture : Zy5Fixture {
    std::vector<fakehid::Bytes> written;
    int unplug_after_macro_reports = -1;  // the mouse goes away after that many event reports

    ButtonsFixture()
    {
        fakehid::unplug(node);
        fakehid::Device mouse = simulated::zy5("usb-0000:00:14.0-3", state);
        mouse.respond = [this, respond = mouse.respond](const fakehid::Bytes &report) {
            written.push_back(report);
            const auto answer = respond(report);
            if (report[1] == 0xF1 && unplug_after_macro_reports >= 0 && --unplug_after_macro_reports == 0)
                fakehid::unplug(node);
            return answer;
        };
        node = fakehid::plug(mouse);
    }

    int written_count(std::uint8_t report_id, std::uint8_t command) const
    {
        return int(std::count_if(written.begin(), written.end(), [&](const fakehid::Bytes &report) {
            return report.size() > 1 && report[0] == report_id && report[1] == command;
        }));
    }

    const simulated::Zy5Button &button(int id) const { return state->buttons.at(id); }
};

struct Assignment {
    int type, sub, modifiers, key_usage;
    bool operator==(const Assignment &other) const
    {
        return type == other.type && sub == other.sub && modifiers == other.modifiers && key_usage == other.key_usage;
    }
};

Assignment assignment_of(const simulated::Zy5Button &button)
{
    return {button.type, button.sub, button.modifiers, button.key_usage};
}

void focus_editor(mkey_Edit *editor)
{
    QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(editor->line_edit(), &focus);
}

// A button page entered on the simulated mouse, with the dialog opened by clicking a button.
struct ButtonPage {
    std::unique_ptr<Tavri_ZY5> page;
    ZY5_Btn_Config *config;
    btn_Dialog *dialog;

    explicit ButtonPage(const ButtonsFixture &fixture)
        : page(fixture.enter_page())
        , config(page->btn_config())
        , dialog(config->dialog())
    {
    }

    void open(int id) { config->button_group()->button(id)->click(); }
};

} // namespace

class Zy5ButtonsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { use_private_app_data(); }

    void dialog_opens_beside_the_button();
    void every_button_round_trip();
    void key_without_table_row_is_written_back();
    void macro_is_read_into_the_recorder();
    void a_failed_macro_read_offers_nothing_to_save();
    void a_failed_macro_write_is_told_and_undone();
    void a_failed_macro_write_puts_back_the_choice_saved_before_it();
    void a_failed_read_shows_the_last_assignment_read();
};

void Zy5ButtonsTest::dialog_opens_beside_the_button()
{
    ButtonsFixture fixture;
    FakeHooks hooks;
    ButtonPage buttons(fixture);
    QCOMPARE(buttons.config->button_group()->buttons().size(), 8);
    const QPoint origin = buttons.config->mapToGlobal(QPoint(0, 0));

    buttons.open(5);  // toggled, then clicked: two reads
    QCOMPARE(fixture.written_count(0x4D, 0xB0), 2);
    QVERIFY(buttons.dialog->isVisible());
    QCOMPARE(buttons.dialog->pos(), origin + QPoint(386 + 30, 276 - 12));
    buttons.open(5);  // already checked: one read
    QCOMPARE(fixture.written_count(0x4D, 0xB0), 3);

    buttons.open(3);
    QCOMPARE(buttons.dialog->pos(), origin + QPoint(820 - 350, 350 - 60));
    // The factory assignment of button 3 is function 1.
    QVERIFY(buttons.dialog->func_tab->isChecked());
    QCOMPARE(buttons.dialog->func_list->group->checkedId(), 1);
    QCOMPARE(buttons.dialog->title->text(), QString("单击左键"));
    QCOMPARE(fixture.rejections(), 0);
}

void Zy5ButtonsTest::every_button_round_trip()
{
    ButtonsFixture fixture;
    FakeHooks hooks;
    ButtonPage buttons(fixture);
    btn_Dialog &dialog = *buttons.dialog;

    buttons.open(2);
    dialog.func_tab->click();
    dialog.func_list->rows[4]->click();

    buttons.open(3);
    dialog.combo_tab->click();
    dialog.combo_list->rows[3]->click();

    buttons.open(4);
    dialog.combo_tab->click();
    focus_editor(dialog.combo_list->editor);
    for (std::uint32_t vkey : {LSHIFT, LCTRL, 0x41u})
        press_key(vkey);
    dialog.combo_list->editor->save_button()->click();
    for (std::uint32_t vkey : {0x41u, LCTRL, LSHIFT})
        release_key(vkey);

    buttons.open(5);
    dialog.macro_tab->click();
    dialog.recorder->record_button()->click();
    for (int stroke = 0; stroke < 15; ++stroke)
        tap_key(0x30 + stroke % 10);
    dialog.recorder->record_button()->click();
    const int macro_reports_before = fixture.written_count(0x57, 0xF1);
    dialog.recorder->save_button()->click();
    QCOMPARE(fixture.written_count(0x57, 0xF1) - macro_reports_before, 3);  // 14 + 14 + 2 events

    buttons.open(6);
    dialog.func_tab->click();
    dialog.func_list->rows[0]->click();

    buttons.open(7);
    dialog.combo_tab->click();
    dialog.combo_list->rows[9]->click();

    buttons.open(8);
    dialog.combo_tab->click();
    dialog.combo_list->editor->clear_button()->click();
    focus_editor(dialog.combo_list->editor);
    tap_key(RALT);
    dialog.combo_list->editor->save_button()->click();

    buttons.open(9);
    dialog.func_tab->click();
    dialog.func_list->rows[10]->click();

    QCOMPARE(assignment_of(fixture.button(2)), (Assignment{0, 4, 0, 0}));
    QCOMPARE(assignment_of(fixture.button(3)), (Assignment{1, 3, 0, 0}));
    QCOMPARE(assignment_of(fixture.button(4)), (Assignment{1, 0, 0x03, 0x04}));
    QCOMPARE(assignment_of(fixture.button(5)), (Assignment{2, 0, 30, 0}));
    QCOMPARE(fixture.button(5).macro.size(), std::size_t(120));
    QCOMPARE(assignment_of(fixture.button(6)), (Assignment{0, 0, 0, 0}));
    QCOMPARE(assignment_of(fixture.button(7)), (Assignment{1, 9, 0, 0}));
    QCOMPARE(assignment_of(fixture.button(8)), (Assignment{1, 0, 0x40, 0}));
    QCOMPARE(assignment_of(fixture.button(9)), (Assignment{0, 10, 0, 0}));
    QCOMPARE(fixture.rejections(), 0);

    // Read back, each in a page opened afresh.
    ButtonPage again(fixture);
    btn_Dialog &shown = *again.dialog;
    const struct {
        int id;
        QPushButton *tab;
        QButtonGroup *list;
        int row;
        QString title;
    } expected[] = {
        {2, shown.func_tab, shown.func_list->group, 4, "后退"},
        {3, shown.combo_tab, shown.combo_list->group, 3, "浏览器中的下一个标签(Ctrl+Tab)"},
        {4, shown.combo_tab, shown.combo_list->group, 0, "自定义组合键:CTRL+SHIFT+A"},
        {5, shown.macro_tab, nullptr, -1, "多键宏"},
        {6, shown.func_tab, shown.func_list->group, 0, "禁用"},
        {7, shown.combo_tab, shown.combo_list->group, 9, "复制(Ctrl+C)"},
        {8, shown.combo_tab, shown.combo_list->group, 0, "自定义组合键:RIGHT ALT"},
        {9, shown.func_tab, shown.func_list->group, 10, "向右滚动"},
    };
    for (const auto &button : expected) {
        again.open(button.id);
        QVERIFY2(button.tab->isChecked(), qPrintable(QString::number(button.id)));
        if (button.list)
            QCOMPARE(button.list->checkedId(), button.row);
        QCOMPARE(shown.title->text(), button.title);
    }
    again.open(5);
    QCOMPARE(shown.recorder->events().size(), std::size_t(30));
    QCOMPARE(shown.recorder->events()[2].usage, std::uint8_t(0x1E));  // the key "1" pressed
    QCOMPARE(shown.func_list->group->checkedId(), -1);
    QCOMPARE(shown.combo_list->group->checkedId(), -1);
}

void Zy5ButtonsTest::key_without_table_row_is_written_back()
{
    ButtonsFixture fixture;
    fixture.state->buttons[6] = {1, 0, 0x01, 0x58, {}};  // Ctrl + keypad Enter
    FakeHooks hooks;
    ButtonPage buttons(fixture);
    mkey_Edit &editor = *buttons.dialog->combo_list->editor;

    buttons.open(6);
    QVERIFY(buttons.dialog->combo_tab->isChecked());
    QCOMPARE(buttons.dialog->combo_list->group->checkedId(), 0);
    QCOMPARE(buttons.dialog->title->text(), QString("自定义组合键:CTRL"));
    editor.save_button()->click();  // saved unchanged
    QCOMPARE(assignment_of(fixture.button(6)), (Assignment{1, 0, 0x01, 0x58}));

    focus_editor(&editor);
    tap_key(LSHIFT);  // a modifier keeps the key
    editor.save_button()->click();
    QCOMPARE(assignment_of(fixture.button(6)), (Assignment{1, 0, 0x03, 0x58}));
    tap_key(0x42);
    editor.save_button()->click();
    QCOMPARE(assignment_of(fixture.button(6)), (Assignment{1, 0, 0x03, 0x05}));
}

void Zy5ButtonsTest::macro_is_read_into_the_recorder()
{
    ButtonsFixture fixture;
    // A, 250 ms, A released, 40 ms, keypad Enter (no key of ours) pressed.
    fixture.state->buttons[7] = {2, 1, 3, 0, {0x04, 0, 0, 0, 0x04, 1, 250, 0, 0x58, 0, 40, 0}};
    FakeHooks hooks;
    ButtonPage buttons(fixture);
    micro_Widget &recorder = *buttons.dialog->recorder;

    buttons.open(7);
    QVERIFY(buttons.dialog->macro_tab->isChecked());
    QVERIFY(recorder.record_delay());
    QCOMPARE(recorder.events().size(), std::size_t(3));
    QCOMPARE(recorder.events()[1].delay_ms, std::uint16_t(250));
    QCOMPARE(recorder.event_view()->count(), 5);
    QCOMPARE(recorder.event_view()->item(1)->text(), QString("250 毫秒延迟"));

    buttons.open(2);  // not a macro: the recorder keeps its list
    QCOMPARE(recorder.events().size(), std::size_t(3));

    buttons.open(7);
    buttons.dialog->macro_tab->click();
    recorder.save_button()->click();  // written back as read, the unlisted usage included
    QCOMPARE(fixture.button(7).macro, (fakehid::Bytes{0x04, 0, 0, 0, 0x04, 1, 250, 0, 0x58, 0, 40, 0}));
    QCOMPARE(assignment_of(fixture.button(7)), (Assignment{2, 1, 3, 0}));
}

// Another button's macro stays in the recorder no longer than its own read fails.
void Zy5ButtonsTest::a_failed_macro_read_offers_nothing_to_save()
{
    ButtonsFixture fixture;
    fixture.state->buttons[3] = {2, 0, 2, 0, {0x04, 0, 0, 0, 0x04, 1, 0, 0}};
    fixture.state->buttons[7] = {2, 1, 3, 0, {0x05, 0, 0, 0, 0x05, 1, 9, 0, 0x06, 0, 9, 0}};
    FakeHooks hooks;
    ButtonPage buttons(fixture);
    micro_Widget &recorder = *buttons.dialog->recorder;
    buttons.open(3);
    QCOMPARE(recorder.events().size(), std::size_t(2));

    fixture.state->macro_reply_length = 0;  // the macro interface answers nothing
    buttons.open(7);
    QVERIFY(buttons.dialog->macro_tab->isChecked());
    QVERIFY(recorder.unread());
    QVERIFY(recorder.events().empty());
    QCOMPARE(recorder.event_view()->count(), 1);
    QCOMPARE(recorder.event_view()->item(0)->text(), QString("未能读取宏"));
    QVERIFY(!recorder.save_button()->isEnabled());
    QTest::mouseClick(recorder.save_button(), Qt::LeftButton);
    QCOMPARE(fixture.written_count(0x4D, 0xB1), 0);

    recorder.record_button()->click();
    tap_key(0x41);
    recorder.record_button()->click();
    QVERIFY(!recorder.unread());
    recorder.save_button()->click();
    QCOMPARE(assignment_of(fixture.button(7)), (Assignment{2, 0, 2, 0}));
    QCOMPARE(fixture.button(7).macro, (fakehid::Bytes{0x04, 0, 0, 0, 0x04, 1, 0, 0}));

    fixture.state->macro_reply_length = 64;
    fakehid::fail_next("hid_read_timeout");  // both assignment reads of button 3 fail
    fakehid::fail_next("hid_read_timeout");
    buttons.open(3);
    QVERIFY(recorder.unread());
}

void Zy5ButtonsTest::a_failed_macro_write_is_told_and_undone()
{
    ButtonsFixture fixture;
    fixture.state->buttons[6] = {2, 1, 2, 0, {0x05, 0, 0, 0, 0x05, 1, 7, 0}};
    FakeHooks hooks;
    ButtonPage buttons(fixture);
    micro_Widget &recorder = *buttons.dialog->recorder;
    PopBox &notice = *buttons.config->notice();
    const auto save_macro_of = [&](std::size_t count) {
        recorder.set_events(std::vector<MacroEvent>(count, MacroEvent{0x04, 0, 0}));
        buttons.dialog->macro_tab->click();
        recorder.save_button()->click();
    };

    buttons.open(5);  // a function
    const Assignment function = assignment_of(fixture.button(5));
    fakehid::fail_next("hid_write", 2);  // the assignment and one chunk pass
    save_macro_of(30);
    QVERIFY(notice.isVisible());
    QCOMPARE(notice.text_label()->text(), QString("多键宏写入失败，请检查鼠标连接"));
    QVERIFY(!notice.cancel_button()->isVisible());
    QCOMPARE(assignment_of(fixture.button(5)), function);
    notice.ok_button()->click();
    QVERIFY(!notice.isVisible());

    buttons.open(6);  // a macro, written back whole
    fakehid::fail_next("hid_write", 1);
    save_macro_of(20);
    QVERIFY(notice.isVisible());
    QCOMPARE(assignment_of(fixture.button(6)), (Assignment{2, 1, 2, 0}));
    QCOMPARE(fixture.button(6).macro, (fakehid::Bytes{0x05, 0, 0, 0, 0x05, 1, 7, 0}));
    notice.hide();

    const int written = int(fixture.written.size());
    save_macro_of(256);
    QCOMPARE(int(fixture.written.size()), written);
    QVERIFY(notice.isVisible());
    QCOMPARE(notice.text_label()->text(), QString("多键宏最多255个按键事件，未写入"));
    notice.hide();

    // The mouse is unplugged while the events go out.
    buttons.open(4);
    fixture.written.clear();
    fixture.unplug_after_macro_reports = 1;
    save_macro_of(30);
    QVERIFY(notice.isVisible());
    QCOMPARE(notice.text_label()->text(), QString("多键宏写入失败，请检查鼠标连接"));
    QCOMPARE(fixture.written_count(0x57, 0xF1), 1);
    QCOMPARE(fixture.rejections(), 0);
}

// The assignment put back is the one in force just before the failed write: a choice saved
// a moment before in the same dialog, not the one read when it opened.
void Zy5ButtonsTest::a_failed_macro_write_puts_back_the_choice_saved_before_it()
{
    const struct {
        const char *choice;
        std::function<void(btn_Dialog &)> choose;
        Assignment saved;
        fakehid::Bytes macro;
    } cases[] = {
        {"a function", [](btn_Dialog &dialog) { dialog.func_list->rows[7]->click(); }, {0, 7, 0, 0}, {}},
        {"a preset combination", [](btn_Dialog &dialog) {
             dialog.combo_tab->click();
             dialog.combo_list->rows[3]->click();
         }, {1, 3, 0, 0}, {}},
        {"a custom combination", [](btn_Dialog &dialog) {
             dialog.combo_tab->click();
             focus_editor(dialog.combo_list->editor);
             tap_key(LCTRL);
             tap_key(0x41);
             dialog.combo_list->editor->save_button()->click();
         }, {1, 0, 0x01, 0x04}, {}},
        {"a macro", [](btn_Dialog &dialog) {
             dialog.macro_tab->click();
             dialog.recorder->set_events({{0x05, 0, 0}, {0x05, 1, 0}});
             dialog.recorder->save_button()->click();
         }, {2, 0, 2, 0}, {0x05, 0, 0, 0, 0x05, 1, 0, 0}},
    };
    for (const auto &c : cases) {
        ButtonsFixture fixture;  // button 5 holds function 3
        FakeHooks hooks;
        ButtonPage buttons(fixture);
        btn_Dialog &dialog = *buttons.dialog;
        buttons.open(5);
        c.choose(dialog);
        QVERIFY2(assignment_of(fixture.button(5)) == c.saved, c.choice);

        dialog.recorder->set_events(std::vector<MacroEvent>(30, MacroEvent{0x04, 0, 0}));
        dialog.macro_tab->click();
        fakehid::fail_next("hid_write", 2);  // the assignment and one chunk pass
        dialog.recorder->save_button()->click();
        QVERIFY2(buttons.config->notice()->isVisible(), c.choice);
        QVERIFY2(assignment_of(fixture.button(5)) == c.saved, c.choice);
        if (c.saved.type == 2)
            QVERIFY2(fixture.button(5).macro == c.macro, c.choice);
        QCOMPARE(fixture.rejections(), 0);
    }
}

// A choice saved is in force for the put-back, but a failed read shows the last one read.
void Zy5ButtonsTest::a_failed_read_shows_the_last_assignment_read()
{
    ButtonsFixture fixture;  // button 5 holds function 3
    FakeHooks hooks;
    ButtonPage buttons(fixture);
    btn_Dialog &dialog = *buttons.dialog;
    buttons.open(5);
    dialog.func_list->rows[7]->click();
    QCOMPARE(assignment_of(fixture.button(5)), (Assignment{0, 7, 0, 0}));

    fakehid::fail_next("hid_read_timeout");  // both assignment reads of button 6 fail
    fakehid::fail_next("hid_read_timeout");
    buttons.open(6);
    QVERIFY(dialog.func_tab->isChecked());
    QVERIFY(dialog.func_list->rows[3]->isChecked());
    QVERIFY(!dialog.func_list->rows[7]->isChecked());
}

QTEST_MAIN(Zy5ButtonsTest)
#include "tst_zy5_buttons.moc"
