// The QV8 page against the simulated receiver: reads, sets, round trips, failures,
// restore defaults with its confirmation, and the page's own widgets.
#include "ModelPage.h"
#include "SimulatedDevices.h"
#include "common/HidBus.h"
#include "devices/QV8_Btn_Config.h"
#include "devices/QV8_Dev_Config.h"
#include "devices/QV8_Nav_Bar.h"
#include "devices/Tavri_QV8.h"
#include "editors/PopBox.h"

#include <QButtonGroup>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

using GroupOf = QButtonGroup *(QV8_Btn_Config::*)() const;
using FieldOf = int simulated::Qv8State::*;
Q_DECLARE_METATYPE(GroupOf)
Q_DECLARE_METATYPE(FieldOf)

namespace {

struct Qv8Fixture {
    std::shared_ptr<simulated::Qv8State> state = std::make_shared<simulated::Qv8State>();
    std::string node;
    QString path;

    Qv8Fixture()
    {
        fakehid::reset();
        node = fakehid::plug(simulated::qv8("usb-0000:00:14.0-2", state));
        path = HidBus::interface_path(0xE4A9, 0x2E1C, 1, 0, "usb-0000:00:14.0-2/input1");
    }
    ~Qv8Fixture() { fakehid::reset(); }

    std::unique_ptr<Tavri_QV8> open_page() const { return open_model_page<Tavri_QV8>(path); }
    std::unique_ptr<Tavri_QV8> enter_page() const { return enter_model_page<Tavri_QV8>(path); }
};

int reports_written()
{
    return fakehid::calls("hid_write");
}

void click(QButtonGroup *group, int id)
{
    QTest::mouseClick(group->button(id), Qt::LeftButton);
}

QList<int> shown_choices(const Tavri_QV8 &page)
{
    const QV8_Btn_Config &config = *page.btn_config();
    return {config.main_btn_group()->checkedId(), config.wheel_direction_group()->checkedId(),
            config.power_on_state_group()->checkedId(), config.dpi_group()->checkedId()};
}

QString version_shown(const Tavri_QV8 &page)
{
    return page.dev_config()->version_label()->text();
}

} // namespace

class Qv8PageTest : public QObject
{
    Q_OBJECT
private slots:
    void nothing_is_sent_or_checked_before_entering();
    void entering_shows_the_device_state_data();
    void entering_shows_the_device_state();
    void each_choice_sets_the_device_data();
    void each_choice_sets_the_device();
    void choices_reach_a_new_page();
    void the_checked_choice_sends_nothing_again();
    void a_receiver_that_cannot_be_opened_changes_nothing();
    void silence_and_read_errors_leave_the_choices();
    void replies_count_only_the_bytes_read();
    void unknown_choices_leave_the_group();
    void restore_defaults_asks_first_and_rereads();
    void restore_defaults_without_the_receiver_still_rereads();
    void leaving_while_restoring_ends_the_restore();
    void navigation_bar_switches_pages_and_shows_tips();
    void return_deletes_the_page();
};

void Qv8PageTest::nothing_is_sent_or_checked_before_entering()
{
    Qv8Fixture fixture;
    const auto page = fixture.open_page();
    QVERIFY(fakehid::call_log().empty() || reports_written() == 0);
    QCOMPARE(shown_choices(*page), (QList<int>{-1, -1, -1, -1}));
    QVERIFY(page->picture_button()->isVisible());
    for (QWidget *hidden : {static_cast<QWidget *>(page->settings_stack()), static_cast<QWidget *>(page->nav_bar()),
                            static_cast<QWidget *>(page->restore_button()),
                            static_cast<QWidget *>(page->return_button())})
        QVERIFY(!hidden->isVisible());
}

void Qv8PageTest::entering_shows_the_device_state_data()
{
    QTest::addColumn<int>("main_button");
    QTest::addColumn<int>("wheel");
    QTest::addColumn<int>("power");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("all first choices") << 0 << 0 << 0 << 1200 << QList<int>{0, 0, 0, 0};
    QTest::newRow("all second choices") << 1 << 1 << 1 << 1600 << QList<int>{1, 1, 1, 1};
    QTest::newRow("mixed, 2400 dpi") << 1 << 0 << 1 << 2400 << QList<int>{1, 0, 1, 2};
    QTest::newRow("1201 dpi") << 0 << 1 << 0 << 1201 << QList<int>{0, 1, 0, 1};
    QTest::newRow("1601 dpi") << 0 << 0 << 0 << 1601 << QList<int>{0, 0, 0, 2};
    QTest::newRow("0 dpi") << 0 << 0 << 0 << 0 << QList<int>{0, 0, 0, 0};
}

void Qv8PageTest::entering_shows_the_device_state()
{
    QFETCH(int, main_button);
    QFETCH(int, wheel);
    QFETCH(int, power);
    QFETCH(int, dpi);
    QFETCH(QList<int>, shown);
    Qv8Fixture fixture;
    *fixture.state = {main_button, wheel, power, dpi, "V3.2.1"};
    const auto page = fixture.open_page();
    // The window hides its device bar before the reads start.
    int reports_when_entered = -1;
    connect(page.get(), &Tavri_QV8::enter_widget, [&] { reports_when_entered = reports_written(); });

    QTest::mouseClick(page->picture_button(), Qt::LeftButton);

    QCOMPARE(reports_when_entered, 0);
    QCOMPARE(shown_choices(*page), shown);
    QCOMPARE(version_shown(*page), QString("固件版本：V3.2.1"));
    // Five queries and no set command: showing the state never writes it back.
    QCOMPARE(reports_written(), 5);
    QCOMPARE(fixture.state->main_button, main_button);
    QCOMPARE(fixture.state->dpi, dpi);
    QVERIFY(!page->picture_button()->isVisible());
    QVERIFY(page->settings_stack()->isVisible());
    QCOMPARE(page->settings_stack()->currentIndex(), 0);
    QVERIFY(page->nav_bar()->isVisible());
    QVERIFY(page->restore_button()->isVisible());
    QVERIFY(page->return_button()->isVisible());
}

void Qv8PageTest::each_choice_sets_the_device_data()
{
    QTest::addColumn<GroupOf>("group");
    QTest::addColumn<int>("id");
    QTest::addColumn<FieldOf>("field");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    const GroupOf main_button = &QV8_Btn_Config::main_btn_group;
    const GroupOf wheel = &QV8_Btn_Config::wheel_direction_group;
    const GroupOf power = &QV8_Btn_Config::power_on_state_group;
    const GroupOf dpi = &QV8_Btn_Config::dpi_group;
    using simulated::Qv8State;
    QTest::newRow("right button") << main_button << 1 << &Qv8State::main_button << 0 << 1;
    QTest::newRow("left button") << main_button << 0 << &Qv8State::main_button << 1 << 0;
    QTest::newRow("reversed wheel") << wheel << 1 << &Qv8State::wheel_direction << 0 << 1;
    QTest::newRow("traditional wheel") << wheel << 0 << &Qv8State::wheel_direction << 1 << 0;
    QTest::newRow("power only") << power << 1 << &Qv8State::power_on_state << 0 << 1;
    QTest::newRow("lift on power-up") << power << 0 << &Qv8State::power_on_state << 1 << 0;
    QTest::newRow("1200 dpi") << dpi << 0 << &Qv8State::dpi << 2400 << 1200;
    QTest::newRow("1600 dpi") << dpi << 1 << &Qv8State::dpi << 1200 << 1600;
    QTest::newRow("2400 dpi") << dpi << 2 << &Qv8State::dpi << 1200 << 2400;
}

void Qv8PageTest::each_choice_sets_the_device()
{
    QFETCH(GroupOf, group);
    QFETCH(int, id);
    QFETCH(FieldOf, field);
    QFETCH(int, before);
    QFETCH(int, after);
    Qv8Fixture fixture;
    (*fixture.state).*field = before;
    const auto page = fixture.enter_page();
    const int written = reports_written();

    click((page->btn_config()->*group)(), id);

    QCOMPARE((*fixture.state).*field, after);
    QCOMPARE(reports_written(), written + 1);
    QCOMPARE((page->btn_config()->*group)()->checkedId(), id);
}

void Qv8PageTest::choices_reach_a_new_page()
{
    Qv8Fixture fixture;
    {
        const auto page = fixture.enter_page();
        QV8_Btn_Config &config = *page->btn_config();
        click(config.main_btn_group(), 1);
        click(config.wheel_direction_group(), 1);
        click(config.power_on_state_group(), 1);
        click(config.dpi_group(), 2);
    }
    QCOMPARE(shown_choices(*fixture.enter_page()), (QList<int>{1, 1, 1, 2}));
    {
        const auto page = fixture.enter_page();
        click(page->btn_config()->main_btn_group(), 0);
        click(page->btn_config()->dpi_group(), 1);
    }
    QCOMPARE(shown_choices(*fixture.enter_page()), (QList<int>{0, 1, 1, 1}));
}

void Qv8PageTest::the_checked_choice_sends_nothing_again()
{
    Qv8Fixture fixture;
    const auto page = fixture.enter_page();
    const int written = reports_written();
    click(page->btn_config()->main_btn_group(), 0);
    click(page->btn_config()->dpi_group(), 0);
    QCOMPARE(reports_written(), written);
}

void Qv8PageTest::a_receiver_that_cannot_be_opened_changes_nothing()
{
    Qv8Fixture fixture;
    fixture.state->main_button = 1;
    fakehid::unplug(fixture.node);
    const auto page = fixture.enter_page();
    QCOMPARE(shown_choices(*page), (QList<int>{-1, -1, -1, -1}));
    QCOMPARE(version_shown(*page), QString("固件版本："));

    // A set that cannot be sent leaves the user's choice shown.
    click(page->btn_config()->wheel_direction_group(), 1);
    QCOMPARE(page->btn_config()->wheel_direction_group()->checkedId(), 1);
    QCOMPARE(reports_written(), 0);
}

void Qv8PageTest::silence_and_read_errors_leave_the_choices()
{
    Qv8Fixture fixture;
    *fixture.state = {1, 1, 1, 2400, "V3.2.1"};
    const auto page = fixture.enter_page();

    *fixture.state = {0, 0, 0, 1200, "V3.2.1"};
    fixture.state->answers = false;
    page->get_qv8_state();
    QCOMPARE(shown_choices(*page), (QList<int>{1, 1, 1, 2}));
    QCOMPARE(version_shown(*page), QString("固件版本：V1.0.0"));

    fixture.state->answers = true;
    fakehid::fail_next("hid_read_timeout");
    page->get_qv8_main_btn();
    QCOMPARE(page->btn_config()->main_btn_group()->checkedId(), 1);
    fakehid::fail_next("hid_read_timeout");
    page->get_qv8_dongle_version();
    QCOMPARE(version_shown(*page), QString("固件版本：V1.0.0"));
}

void Qv8PageTest::replies_count_only_the_bytes_read()
{
    Qv8Fixture fixture;
    *fixture.state = {0, 0, 0, 2400, "V3"};
    const auto page = fixture.enter_page();
    QCOMPARE(version_shown(*page), QString("固件版本：V3"));  // zero padding is not text

    // Three bytes hold no DPI value: 1200 dpi's high byte alone must not be read as 1024.
    fixture.state->dpi = 1200;
    fixture.state->reply_length = 3;
    page->get_qv8_dpi();
    QCOMPARE(page->btn_config()->dpi_group()->checkedId(), 2);

    fixture.state->version = "V4.5.6";
    fixture.state->reply_length = 5;
    page->get_qv8_dongle_version();
    QCOMPARE(version_shown(*page), QString("固件版本：V4."));
}

void Qv8PageTest::unknown_choices_leave_the_group()
{
    for (int unknown : {2, 255}) {
        Qv8Fixture fixture;
        fixture.state->main_button = 1;
        const auto page = fixture.enter_page();
        fixture.state->main_button = unknown;
        page->get_qv8_main_btn();
        QCOMPARE(page->btn_config()->main_btn_group()->checkedId(), 1);
    }
}

void Qv8PageTest::restore_defaults_asks_first_and_rereads()
{
    Qv8Fixture fixture;
    *fixture.state = {1, 1, 1, 2400, "V3.2.1"};
    const auto page = fixture.enter_page();
    const int written = reports_written();

    QTest::mouseClick(page->restore_button(), Qt::LeftButton);
    QVERIFY(page->pop_box()->isVisible());
    QTest::mouseClick(page->pop_box()->cancel_button(), Qt::LeftButton);
    QCOMPARE(reports_written(), written);
    QCOMPARE(fixture.state->dpi, 2400);

    // While the receiver settles, the interface stays alive and restore is disabled.
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
    QVERIFY(!page->pop_box()->isVisible());
    QCOMPARE(fixture.state->main_button, 0);
    QCOMPARE(fixture.state->dpi, 1200);
    QCOMPARE(shown_choices(*page), (QList<int>{0, 0, 0, 0}));
    QCOMPARE(reports_written(), written + 1 + 5);
}

void Qv8PageTest::restore_defaults_without_the_receiver_still_rereads()
{
    Qv8Fixture fixture;
    const auto page = fixture.enter_page();
    fakehid::unplug(fixture.node);
    page->set_qv8_default();
    QVERIFY(page->restore_button()->isEnabled());
    QCOMPARE(reports_written(), 5);
}

// The wait keeps the interface alive: the return button, or an unplug, can delete the page.
void Qv8PageTest::leaving_while_restoring_ends_the_restore()
{
    Qv8Fixture fixture;
    QPointer<Tavri_QV8> page = fixture.enter_page().release();
    const int written = reports_written();
    QTimer::singleShot(50, [&] { QTest::mouseClick(page->return_button(), Qt::LeftButton); });
    QTest::mouseClick(page->restore_button(), Qt::LeftButton);
    QTest::mouseClick(page->pop_box()->ok_button(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(page.isNull());
    QCOMPARE(reports_written(), written + 1);  // the restore, and no re-read
}

void Qv8PageTest::navigation_bar_switches_pages_and_shows_tips()
{
    Qv8Fixture fixture;
    const auto page = fixture.enter_page();
    QV8_Nav_Bar &bar = *page->nav_bar();
    QCOMPARE(bar.geometry(), QRect(0, 602, 1200, 68));
    QSignalSpy selected(&bar, &QV8_Nav_Bar::nav_btn_selected);

    QTest::mouseClick(bar.device_settings(), Qt::LeftButton);
    QTest::mouseClick(bar.button_settings(), Qt::LeftButton);
    QTest::mouseClick(bar.device_settings(), Qt::LeftButton);
    // One signal per newly checked button; the unchecked one says nothing.
    QCOMPARE(selected.count(), 3);
    QCOMPARE(selected.at(0).at(0).toInt(), 1);
    QCOMPARE(selected.at(1).at(0).toInt(), 0);
    QCOMPARE(page->settings_stack()->currentIndex(), 1);

    QEvent enter(QEvent::Enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(bar.device_settings(), &enter);
    QVERIFY(bar.tip()->isVisible());
    QCOMPARE(bar.tip()->pos(), QPoint(558, 0));
    QCOMPARE(bar.tip()->text(), QString("设备配置"));
    QCoreApplication::sendEvent(bar.device_settings(), &leave);
    QVERIFY(!bar.tip()->isVisible());
    QCoreApplication::sendEvent(bar.button_settings(), &enter);
    QCOMPARE(bar.tip()->pos(), QPoint(498, 0));
    QCOMPARE(bar.tip()->text(), QString("按键设置"));
}

void Qv8PageTest::return_deletes_the_page()
{
    Qv8Fixture fixture;
    QPointer<Tavri_QV8> page = fixture.enter_page().release();
    QSignalSpy returned(page.data(), &Tavri_QV8::return_back);
    QTest::mouseClick(page->return_button(), Qt::LeftButton);
    QCOMPARE(returned.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(page.isNull());
}

QTEST_MAIN(Qv8PageTest)
#include "tst_qv8_page.moc"
