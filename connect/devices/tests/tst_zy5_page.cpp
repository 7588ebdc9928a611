// The ZY5 page against the simulated mouse: what entering shows, the pointer page's DPI
// levels, aim-key DPI and report rate round trips, restore defaults, and the page's bar.
#include "Zy5Fixture.h"
#include "common/SharedStyles.h"
#include "devices/DPILeft.h"
#include "devices/UserColorSettings.h"
#include "devices/ZY5_Btn_Config.h"
#include "devices/ZY5_Led_Config.h"
#include "devices/ZY5_Nav_Bar.h"
#include "devices/ZY5_Pointer_Config.h"
#include "editors/PopBox.h"
#include "editors/SpeedSlider.h"
#include "editors/color_picker_Square.h"

#include <QButtonGroup>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedWidget>
#include <QTimer>

namespace {

DPILeft &levels_of(const Tavri_ZY5 &page)
{
    return *page.pointer_config()->dpi_left();
}

QList<int> level_values(const Tavri_ZY5 &page)
{
    QList<int> values;
    for (int index = 0; index < DPILeft::kLevels; ++index)
        values << levels_of(page).level_slider(index)->value();
    return values;
}

QList<bool> levels_enabled(const Tavri_ZY5 &page)
{
    QList<bool> enabled;
    for (int index = 0; index < DPILeft::kLevels; ++index)
        enabled << levels_of(page).level_slider(index)->isEnabled();
    return enabled;
}

// The level whose name is highlighted, -1 for none.
int highlighted_level(const Tavri_ZY5 &page)
{
    for (int index = 0; index < DPILeft::kLevels; ++index)
        if (levels_of(page).name_label(index)->styleSheet() == style_label_accent)
            return index;
    return -1;
}

// A drag of the slider to value, ending with its release.
void drag(QSlider *slider, int value)
{
    slider->setSliderDown(true);
    slider->setValue(value);
    slider->setSliderDown(false);
}

void click(QButtonGroup *group, int id)
{
    QTest::mouseClick(group->button(id), Qt::LeftButton);
}

} // namespace

class Zy5PageTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { use_private_app_data(); }
    void init() { user_color_settings().clear(); }

    void nothing_is_read_before_entering();
    void entering_shows_the_device_state();
    void unusual_replies_show_as_far_as_they_go();
    void a_released_level_becomes_current_and_reaches_a_new_page();
    void choosing_fewer_levels_keeps_the_current_one_among_them();
    void the_aim_key_dpi_is_written_on_release_only();
    void the_report_rate_reaches_a_new_page();
    void an_unexpected_level_count_is_kept_in_writes();
    void a_failed_read_keeps_the_current_level();
    void failed_reads_keep_what_the_page_shows();
    void an_absent_mouse_shows_nothing_and_gets_nothing();
    void restore_defaults_asks_first_and_rereads();
    void leaving_while_restoring_ends_the_restore();
    void navigation_bar_switches_pages_and_shows_tips();
    void return_deletes_the_page();
    void pages_share_one_preset_store();
};

void Zy5PageTest::nothing_is_read_before_entering()
{
    Zy5Fixture mouse;
    const auto page = mouse.open_page();
    QCOMPARE(Zy5Fixture::reports_written(), 0);
    QVERIFY(page->picture_button()->isVisible());
    for (QWidget *hidden : {static_cast<QWidget *>(page->settings_stack()), static_cast<QWidget *>(page->nav_bar()),
                            static_cast<QWidget *>(page->restore_button()),
                            static_cast<QWidget *>(page->return_button())})
        QVERIFY(!hidden->isVisible());
}

void Zy5PageTest::entering_shows_the_device_state()
{
    Zy5Fixture mouse;
    auto &state = *mouse.state;
    state.effect = 2;
    state.frequency = 6;
    state.red = 18;
    state.green = 171;
    state.blue = 52;
    state.dpi_levels = {1, 20, 39, 100, 144};
    state.current_level = 2;
    state.aim = 144;
    state.level_count_index = 3;
    state.report_rate = 2;
    const auto page = mouse.open_page();
    int reports_when_entered = -1;
    connect(page.get(), &Tavri_ZY5::enter_widget, [&] { reports_when_entered = Zy5Fixture::reports_written(); });

    QTest::mouseClick(page->picture_button(), Qt::LeftButton);

    QCOMPARE(reports_when_entered, 0);
    QCOMPARE(Zy5Fixture::reports_written(), 3);  // three reads; showing writes nothing back
    const ZY5_Led_Config &led = *page->led_config();
    QCOMPARE(led.effect_group()->checkedId(), 2);
    QCOMPARE(led.speed_slider()->value(), 6);
    QCOMPARE(led.speed_slider()->value_label()->text(), QString("6"));
    QCOMPARE(led.red_edit()->text(), QString("18"));
    QCOMPARE(led.green_edit()->text(), QString("171"));
    QCOMPARE(led.blue_edit()->text(), QString("52"));
    QCOMPARE(led.hex_edit()->text(), QString("12AB34"));

    QCOMPARE(level_values(*page), (QList<int>{1, 20, 39, 100, 144}));
    QCOMPARE(levels_of(*page).value_label(2)->text(), QString("2000"));
    QCOMPARE(levels_of(*page).level_count_group()->checkedId(), 3);
    QCOMPARE(levels_enabled(*page), (QList<bool>{true, true, true, true, false}));
    QCOMPARE(highlighted_level(*page), 2);
    QCOMPARE(levels_of(*page).current_dpi_level(), 2);
    QCOMPARE(page->pointer_config()->aim_slider()->value(), 144);
    QCOMPARE(page->pointer_config()->aim_value_label()->text(), QString("7250"));
    QCOMPARE(page->pointer_config()->aim_value_label()->pos(), QPoint(1131, 400));
    QCOMPARE(page->pointer_config()->report_rate_group()->checkedId(), 2);

    QVERIFY(!page->picture_button()->isVisible());
    QVERIFY(page->settings_stack()->isVisible());
    QCOMPARE(page->settings_stack()->currentIndex(), 0);
    QVERIFY(page->nav_bar()->isVisible());
    QVERIFY(page->restore_button()->isVisible());
    QVERIFY(page->return_button()->isVisible());
}

void Zy5PageTest::unusual_replies_show_as_far_as_they_go()
{
    Zy5Fixture mouse;
    auto &state = *mouse.state;
    state.effect = 5;          // shown as rage; the enabling stays as it was
    state.frequency = 0;       // slider untouched
    state.level_count_index = 0;
    state.current_level = 6;   // no level highlighted
    state.report_rate = 3;     // no rate checked
    const auto page = mouse.enter_page();
    const ZY5_Led_Config &led = *page->led_config();
    QCOMPARE(led.effect_group()->checkedId(), 6);
    QVERIFY(led.speed_slider()->isEnabled());
    QVERIFY(led.color_square()->isEnabled());
    QCOMPARE(led.speed_slider()->value(), 4);
    QCOMPARE(levels_of(*page).level_count_group()->checkedId(), 0);
    QCOMPARE(levels_enabled(*page), (QList<bool>{true, false, false, false, false}));
    QCOMPARE(highlighted_level(*page), -1);
    QCOMPARE(page->pointer_config()->report_rate_group()->checkedId(), -1);

    // A later read with an unknown count leaves no count chosen and every level enabled.
    state.level_count_index = 9;
    state.report_rate = 8;
    page->get_zy5_state();
    QCOMPARE(levels_of(*page).level_count_group()->checkedId(), -1);
    QCOMPARE(levels_enabled(*page), (QList<bool>{true, true, true, true, true}));
    QCOMPARE(page->pointer_config()->report_rate_group()->checkedId(), 8);
    state.report_rate = 3;
    page->get_zy5_state();
    QCOMPARE(page->pointer_config()->report_rate_group()->checkedId(), -1);
    QCOMPARE(Zy5Fixture::rejections(), 0);
}

void Zy5PageTest::a_released_level_becomes_current_and_reaches_a_new_page()
{
    Zy5Fixture mouse;
    {
        const auto page = mouse.enter_page();
        const int written = Zy5Fixture::reports_written();
        drag(levels_of(*page).level_slider(2), 40);
        QCOMPARE(Zy5Fixture::reports_written(), written + 1);
        QCOMPARE(mouse.state->dpi_levels[2], 40);
        QCOMPARE(mouse.state->current_level, 2);
        QCOMPARE(levels_of(*page).value_label(2)->text(), QString("2050"));
        QCOMPARE(levels_of(*page).value_label(2)->pos(), QPoint(40 * 208 / 143 + 82, 412));

        // Pressing without moving highlights the level; its release makes it current.
        QSlider *level_five = levels_of(*page).level_slider(4);
        level_five->setSliderDown(true);
        QCOMPARE(highlighted_level(*page), 4);
        level_five->setSliderDown(false);
        QCOMPARE(mouse.state->current_level, 4);
        QCOMPARE(Zy5Fixture::reports_written(), written + 2);
    }
    const auto page = mouse.enter_page();
    QCOMPARE(level_values(*page), (QList<int>{7, 15, 40, 47, 63}));
    QCOMPARE(highlighted_level(*page), 4);
}

void Zy5PageTest::choosing_fewer_levels_keeps_the_current_one_among_them()
{
    Zy5Fixture mouse;
    mouse.state->current_level = 3;
    {
        const auto page = mouse.enter_page();
        click(levels_of(*page).level_count_group(), 1);
        QCOMPARE(mouse.state->level_count_index, 1);
        QCOMPARE(mouse.state->current_level, 1);
        QCOMPARE(levels_enabled(*page), (QList<bool>{true, true, false, false, false}));
        QCOMPARE(highlighted_level(*page), 1);
        // More levels keep the current one.
        click(levels_of(*page).level_count_group(), 4);
        QCOMPARE(mouse.state->level_count_index, 4);
        QCOMPARE(mouse.state->current_level, 1);
    }
    const auto page = mouse.enter_page();
    QCOMPARE(levels_of(*page).level_count_group()->checkedId(), 4);
    QCOMPARE(highlighted_level(*page), 1);
}

void Zy5PageTest::the_aim_key_dpi_is_written_on_release_only()
{
    Zy5Fixture mouse;
    {
        const auto page = mouse.enter_page();
        QSlider *aim = page->pointer_config()->aim_slider();
        const int written = Zy5Fixture::reports_written();
        aim->setValue(100);
        QCOMPARE(Zy5Fixture::reports_written(), written);
        QCOMPARE(page->pointer_config()->aim_value_label()->text(), QString("5050"));
        drag(aim, 120);
        QCOMPARE(Zy5Fixture::reports_written(), written + 1);
        QCOMPARE(mouse.state->aim, 120);
    }
    QCOMPARE(mouse.enter_page()->pointer_config()->aim_slider()->value(), 120);
}

void Zy5PageTest::the_report_rate_reaches_a_new_page()
{
    Zy5Fixture mouse;
    for (int code : {8, 4, 2, 1}) {
        {
            const auto page = mouse.enter_page();
            const int written = Zy5Fixture::reports_written();
            click(page->pointer_config()->report_rate_group(), code);
            QCOMPARE(Zy5Fixture::reports_written(), written + 1);  // the unchecked rate writes nothing
            QCOMPARE(mouse.state->report_rate, code);
        }
        QCOMPARE(mouse.enter_page()->pointer_config()->report_rate_group()->checkedId(), code);
    }
    const auto page = mouse.enter_page();
    const int written = Zy5Fixture::reports_written();
    click(page->pointer_config()->report_rate_group(), 1);  // already chosen
    QCOMPARE(Zy5Fixture::reports_written(), written);
}

// No button stands for the count the mouse reported; writes send that count, not 0xFF.
void Zy5PageTest::an_unexpected_level_count_is_kept_in_writes()
{
    Zy5Fixture mouse;
    mouse.state->level_count_index = 7;
    const auto page = mouse.enter_page();
    drag(levels_of(*page).level_slider(0), 30);
    QCOMPARE(mouse.state->dpi_levels[0], 30);
    QCOMPARE(mouse.state->level_count_index, 7);
    drag(page->pointer_config()->aim_slider(), 50);
    QCOMPARE(mouse.state->level_count_index, 7);
}

// The count change reads the current level first; without an answer the level known
// before stands, within the new count.
void Zy5PageTest::a_failed_read_keeps_the_current_level()
{
    Zy5Fixture mouse;
    mouse.state->current_level = 3;
    const auto page = mouse.enter_page();
    mouse.state->answers = false;
    click(levels_of(*page).level_count_group(), 3);
    QCOMPARE(mouse.state->current_level, 3);
    QCOMPARE(mouse.state->level_count_index, 3);

    mouse.state->answers = true;
    mouse.state->reply_length = 8;  // too short to hold the current level
    click(levels_of(*page).level_count_group(), 2);
    QCOMPARE(mouse.state->current_level, 2);
    QCOMPARE(mouse.state->level_count_index, 2);
    QCOMPARE(levels_enabled(*page), (QList<bool>{true, true, true, false, false}));
}

void Zy5PageTest::failed_reads_keep_what_the_page_shows()
{
    Zy5Fixture mouse;
    mouse.state->effect = 3;
    mouse.state->report_rate = 4;
    const auto page = mouse.enter_page();
    mouse.state->effect = 1;
    mouse.state->report_rate = 8;
    mouse.state->dpi_levels = {1, 1, 1, 1, 1};

    mouse.state->answers = false;
    page->get_zy5_state();
    QCOMPARE(page->led_config()->effect_group()->checkedId(), 3);
    QCOMPARE(level_values(*page), (QList<int>{7, 15, 31, 47, 63}));
    QCOMPARE(page->pointer_config()->report_rate_group()->checkedId(), 4);

    mouse.state->answers = true;
    mouse.state->reply_length = 10;  // the report rate fits, lighting and DPI do not
    page->get_zy5_state();
    QCOMPARE(page->led_config()->effect_group()->checkedId(), 3);
    QCOMPARE(level_values(*page), (QList<int>{7, 15, 31, 47, 63}));
    QCOMPARE(page->pointer_config()->report_rate_group()->checkedId(), 8);
}

void Zy5PageTest::an_absent_mouse_shows_nothing_and_gets_nothing()
{
    Zy5Fixture mouse;
    fakehid::unplug(mouse.node);
    const auto page = mouse.enter_page();
    QCOMPARE(page->led_config()->effect_group()->checkedId(), 1);  // as built
    QCOMPARE(page->led_config()->red_edit()->text(), QString());
    QCOMPARE(levels_of(*page).level_count_group()->checkedId(), -1);
    QCOMPARE(page->pointer_config()->report_rate_group()->checkedId(), -1);
    click(page->pointer_config()->report_rate_group(), 8);
    drag(levels_of(*page).level_slider(0), 9);
    QCOMPARE(page->pointer_config()->report_rate_group()->checkedId(), 8);
    QCOMPARE(Zy5Fixture::reports_written(), 0);
}

void Zy5PageTest::restore_defaults_asks_first_and_rereads()
{
    Zy5Fixture mouse;
    mouse.state->effect = 0;
    mouse.state->report_rate = 8;
    mouse.state->dpi_levels = {1, 2, 3, 4, 5};
    const auto page = mouse.enter_page();
    const int written = Zy5Fixture::reports_written();

    QTest::mouseClick(page->restore_button(), Qt::LeftButton);
    QVERIFY(page->pop_box()->isVisible());
    QTest::mouseClick(page->pop_box()->cancel_button(), Qt::LeftButton);
    QCOMPARE(Zy5Fixture::reports_written(), written);

    QList<bool> enabled_while_settling;
    QTimer::singleShot(50, [&] { enabled_while_settling.append(page->restore_button()->isEnabled()); });
    QTimer::singleShot(100, [&] { QTest::mouseClick(page->pop_box()->ok_button(), Qt::LeftButton); });  // a double click
    QTest::mouseClick(page->restore_button(), Qt::LeftButton);
    QElapsedTimer elapsed;
    elapsed.start();
    QTest::mouseClick(page->pop_box()->ok_button(), Qt::LeftButton);

    QVERIFY(elapsed.elapsed() >= 300);
    QCOMPARE(enabled_while_settling, QList<bool>{false});
    QVERIFY(page->restore_button()->isEnabled());
    const simulated::Zy5State factory;
    QCOMPARE(mouse.state->effect, factory.effect);
    QCOMPARE(page->led_config()->effect_group()->checkedId(), factory.effect);
    QCOMPARE(level_values(*page), (QList<int>{7, 15, 31, 47, 63}));
    QCOMPARE(page->pointer_config()->report_rate_group()->checkedId(), factory.report_rate);
    QCOMPARE(Zy5Fixture::reports_written(), written + 1 + 3);
}

void Zy5PageTest::leaving_while_restoring_ends_the_restore()
{
    Zy5Fixture mouse;
    QPointer<Tavri_ZY5> page = mouse.enter_page().release();
    const int written = Zy5Fixture::reports_written();
    QTimer::singleShot(50, [&] { QTest::mouseClick(page->return_button(), Qt::LeftButton); });
    QTest::mouseClick(page->restore_button(), Qt::LeftButton);
    QTest::mouseClick(page->pop_box()->ok_button(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(page.isNull());
    QCOMPARE(Zy5Fixture::reports_written(), written + 1);  // the restore, and no re-read
}

void Zy5PageTest::navigation_bar_switches_pages_and_shows_tips()
{
    Zy5Fixture mouse;
    const auto page = mouse.enter_page();
    ZY5_Nav_Bar &bar = *page->nav_bar();
    QCOMPARE(bar.geometry(), QRect(0, 602, 1200, 68));
    const struct {
        int id;
        QWidget *page;
        QPoint tip;
        QString text;
    } tabs[] = {{1, page->led_config(), {558, 0}, "灯光设置"},
                {2, page->pointer_config(), {618, 0}, "指针设置"},
                {0, page->btn_config(), {498, 0}, "按键设置"}};
    for (const auto &tab : tabs) {
        QTest::mouseClick(bar.tab(tab.id), Qt::LeftButton);
        QCOMPARE(page->settings_stack()->currentWidget(), tab.page);
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(bar.tab(tab.id), &enter);
        QVERIFY(bar.tip()->isVisible());
        QCOMPARE(bar.tip()->pos(), tab.tip);
        QCOMPARE(bar.tip()->text(), tab.text);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(bar.tab(tab.id), &leave);
        QVERIFY(!bar.tip()->isVisible());
    }
}

void Zy5PageTest::return_deletes_the_page()
{
    Zy5Fixture mouse;
    QPointer<Tavri_ZY5> page = mouse.enter_page().release();
    QSignalSpy returned(page.data(), &Tavri_ZY5::return_back);
    QTest::mouseClick(page->return_button(), Qt::LeftButton);
    QCOMPARE(returned.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(page.isNull());
}

void Zy5PageTest::pages_share_one_preset_store()
{
    Zy5Fixture mouse;
    for (int i = 0; i < 3; ++i)
        mouse.enter_page();
    QCOMPARE(QCoreApplication::instance()->findChildren<QSettings *>().size(), 1);
    QCOMPARE(QFileInfo(user_color_settings().fileName()).fileName(), QString("user_color.ini"));
    QCOMPARE(QFileInfo(user_color_settings().fileName()).absolutePath(),
             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QTEST_MAIN(Zy5PageTest)
#include "tst_zy5_page.moc"
