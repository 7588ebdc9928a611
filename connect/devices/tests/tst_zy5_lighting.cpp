// The ZY5 lighting page against the simulated mouse: effect, speed and colour round trips,
// the colour presets in "user_color.ini", and typed colour values.
#include "Zy5Fixture.h"
#include "devices/UserColorSettings.h"
#include "devices/ZY5_Led_Config.h"
#include "editors/ColorBtn.h"
#include "editors/QHueSlider.h"
#include "editors/SpeedSlider.h"
#include "editors/color_picker_Square.h"

#include <QButtonGroup>
#include <QImage>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

namespace {

using Rgb = QList<int>;

Rgb device_colour(const simulated::Zy5State &state)
{
    return {state.red, state.green, state.blue};
}

Rgb rgb(const QColor &colour)
{
    return {colour.red(), colour.green(), colour.blue()};
}

// The preset as the file holds it, read apart from the program's store.
Rgb stored_preset(int n)
{
    user_color_settings().sync();
    const QSettings file(user_color_settings().fileName(), QSettings::IniFormat);
    const QString section = QStringLiteral("COLOR%1/").arg(n);
    return {file.value(section + "Red", -1).toInt(), file.value(section + "Green", -1).toInt(),
            file.value(section + "Blue", -1).toInt()};
}

void click(QButtonGroup *group, int id)
{
    QTest::mouseClick(group->button(id), Qt::LeftButton);
}

int visibly_different_pixels(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int y = 0; y < qMin(a.height(), b.height()); ++y)
        for (int x = 0; x < qMin(a.width(), b.width()); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            count += qAbs(p.red() - q.red()) + qAbs(p.green() - q.green()) + qAbs(p.blue() - q.blue()) > 120;
        }
    return count;
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, text);
}

struct LightingFixture : Zy5Fixture {
    LightingFixture()
    {
        state->effect = 1;
        state->red = 10;
        state->green = 20;
        state->blue = 30;
    }
};

} // namespace

class Zy5LightingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { use_private_app_data(); }
    void init() { user_color_settings().clear(); }

    void effects_enable_their_controls_data();
    void effects_enable_their_controls();
    void the_effect_reaches_a_new_page();
    void each_speed_step_is_sent_and_reaches_a_new_page();
    void a_picked_colour_reaches_a_new_page();
    void a_chosen_preset_keeps_picked_colours_across_pages();
    void restoring_presets_chooses_none();
    void saved_presets_are_read_repaired_and_clamped_data();
    void saved_presets_are_read_repaired_and_clamped();
    void typed_components_data();
    void typed_components();
    void typed_hex_codes_data();
    void typed_hex_codes();
    void unfinished_input_never_reaches_a_preset();
};

void Zy5LightingTest::effects_enable_their_controls_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<bool>("speed");
    QTest::addColumn<bool>("colour");
    QTest::newRow("off") << 0 << false << false;
    QTest::newRow("steady") << 1 << false << true;
    QTest::newRow("breathing") << 2 << true << true;
    QTest::newRow("carousel") << 3 << true << false;
    QTest::newRow("shooting") << 4 << false << true;
    QTest::newRow("rage") << 6 << false << false;
}

void Zy5LightingTest::effects_enable_their_controls()
{
    QFETCH(int, effect);
    QFETCH(bool, speed);
    QFETCH(bool, colour);
    LightingFixture mouse;
    mouse.state->effect = effect == 0 ? 1 : 0;
    const auto page = mouse.enter_page();
    const ZY5_Led_Config &led = *page->led_config();
    click(led.effect_group(), effect);
    QCOMPARE(mouse.state->effect, effect);
    QCOMPARE(led.speed_slider()->isEnabled(), speed);
    QCOMPARE(led.frequency_label()->isEnabled(), speed);
    for (QWidget *part : {static_cast<QWidget *>(led.color_square()), static_cast<QWidget *>(led.preset(1)),
                          static_cast<QWidget *>(led.preset(6)), static_cast<QWidget *>(led.restore_presets_button()),
                          static_cast<QWidget *>(led.red_edit()), static_cast<QWidget *>(led.hex_edit())})
        QCOMPARE(part->isEnabled(), colour);

    // The checked button's icon stands out from its fill: blanking it changes the picture.
    auto *button = static_cast<QPushButton *>(led.effect_group()->button(effect));
    QVERIFY(button->isChecked());
    const QImage shown = button->grab().toImage();
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    button->setIcon(QIcon(blank));
    QCOMPARE(visibly_different_pixels(shown, button->grab().toImage()) >= 12, true);
}

// The old effect's button unchecks, the new one checks: two reports, both with the new effect.
void Zy5LightingTest::the_effect_reaches_a_new_page()
{
    LightingFixture mouse;
    {
        const auto page = mouse.enter_page();
        const int written = Zy5Fixture::reports_written();
        click(page->led_config()->effect_group(), 3);
        QCOMPARE(Zy5Fixture::reports_written(), written + 2);
        QCOMPARE(mouse.state->effect, 3);
        QCOMPARE(device_colour(*mouse.state), (Rgb{10, 20, 30}));
    }
    QCOMPARE(mouse.enter_page()->led_config()->effect_group()->checkedId(), 3);
    QCOMPARE(Zy5Fixture::rejections(), 0);
}

void Zy5LightingTest::each_speed_step_is_sent_and_reaches_a_new_page()
{
    LightingFixture mouse;
    mouse.state->effect = 2;
    {
        const auto page = mouse.enter_page();
        SpeedSlider *speed = page->led_config()->speed_slider();
        const int written = Zy5Fixture::reports_written();
        for (int step : {5, 6, 7})
            speed->setValue(step);
        QCOMPARE(Zy5Fixture::reports_written(), written + 3);
        QCOMPARE(mouse.state->frequency, 7);
        QCOMPARE(speed->value_label()->text(), QString("7"));
        speed->setValue(7);
        QCOMPARE(Zy5Fixture::reports_written(), written + 3);
    }
    const auto page = mouse.enter_page();
    QCOMPARE(page->led_config()->speed_slider()->value(), 7);
    QCOMPARE(page->led_config()->speed_slider()->value_label()->pos(), QPoint(7 * 40 - 39, 38));
}

void Zy5LightingTest::a_picked_colour_reaches_a_new_page()
{
    LightingFixture mouse;
    Rgb picked;
    {
        const auto page = mouse.enter_page();
        color_picker_Square *square = page->led_config()->color_square();
        square->hue_slider()->setValue(120);
        QTest::mouseClick(square, Qt::LeftButton, {}, QPoint(96, 59));
        picked = rgb(square->color());
        QCOMPARE(device_colour(*mouse.state), picked);
        QCOMPARE(page->led_config()->green_edit()->text(), QString::number(picked[1]));
        QCOMPARE(page->led_config()->hex_edit()->text(), square->color().name().mid(1).toUpper());
    }
    QVERIFY(picked != (Rgb{10, 20, 30}));
    const auto page = mouse.enter_page();
    QCOMPARE(rgb(page->led_config()->color_square()->color()), picked);
    QCOMPARE(page->led_config()->red_edit()->text(), QString::number(picked[0]));
}

void Zy5LightingTest::a_chosen_preset_keeps_picked_colours_across_pages()
{
    LightingFixture mouse;
    Rgb picked;
    {
        const auto page = mouse.enter_page();
        ZY5_Led_Config &led = *page->led_config();
        QTest::mouseClick(led.preset(3), Qt::LeftButton);
        QCOMPARE(device_colour(*mouse.state), (Rgb{255, 255, 0}));
        QCOMPARE(led.red_edit()->text(), QString("255"));

        QTest::mouseClick(led.color_square(), Qt::LeftButton, {}, QPoint(150, 30));
        picked = rgb(led.color_square()->color());
        QCOMPARE(rgb(led.preset(3)->color()), picked);
        QCOMPARE(stored_preset(3), picked);
        QCOMPARE(device_colour(*mouse.state), picked);
        QCOMPARE(stored_preset(2), (Rgb{255, 135, 0}));
    }
    const auto page = mouse.enter_page();
    QCOMPARE(rgb(page->led_config()->preset(3)->color()), picked);
    QCOMPARE(page->led_config()->preset_group()->checkedId(), -1);
}

void Zy5LightingTest::restoring_presets_chooses_none()
{
    LightingFixture mouse;
    const auto page = mouse.enter_page();
    ZY5_Led_Config &led = *page->led_config();
    QTest::mouseClick(led.preset(5), Qt::LeftButton);
    QTest::mouseClick(led.color_square(), Qt::LeftButton, {}, QPoint(20, 100));
    const Rgb sent = device_colour(*mouse.state);
    const int written = Zy5Fixture::reports_written();

    QTest::mouseClick(led.restore_presets_button(), Qt::LeftButton);
    QCOMPARE(Zy5Fixture::reports_written(), written);
    QCOMPARE(led.preset_group()->checkedId(), -1);
    for (int n = 1; n <= ZY5_Led_Config::kPresets; ++n) {
        QCOMPARE(rgb(led.preset(n)->color()), rgb(ZY5_Led_Config::default_preset(n)));
        QCOMPARE(stored_preset(n), rgb(ZY5_Led_Config::default_preset(n)));
    }
    QCOMPARE(rgb(led.color_square()->color()), sent);

    QTest::mouseClick(led.color_square(), Qt::LeftButton, {}, QPoint(100, 10));
    QCOMPARE(stored_preset(5), (Rgb{0, 0, 255}));
}

void Zy5LightingTest::saved_presets_are_read_repaired_and_clamped_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<Rgb>("shown");
    QTest::addColumn<Rgb>("stored");
    QTest::newRow("complete") << QStringList{"Red", "Green", "Blue"} << QStringList{"1", "2", "3"} << Rgb{1, 2, 3}
                              << Rgb{1, 2, 3};
    QTest::newRow("red only") << QStringList{"Red"} << QStringList{"9"} << Rgb{255, 135, 0} << Rgb{255, 135, 0};
    QTest::newRow("no blue") << QStringList{"Red", "Green"} << QStringList{"9", "9"} << Rgb{255, 135, 0}
                             << Rgb{255, 135, 0};
    QTest::newRow("absent") << QStringList{} << QStringList{} << Rgb{255, 135, 0} << Rgb{255, 135, 0};
    QTest::newRow("above 255") << QStringList{"Red", "Green", "Blue"} << QStringList{"300", "256", "70000"}
                               << Rgb{255, 255, 255} << Rgb{300, 256, 70000};
    QTest::newRow("not numbers") << QStringList{"Red", "Green", "Blue"} << QStringList{"x", "-4", "12"}
                                 << Rgb{0, 0, 12} << Rgb{0, -4, 12};
}

// Preset 2 as the file holds it; the others are absent and repaired.
void Zy5LightingTest::saved_presets_are_read_repaired_and_clamped()
{
    QFETCH(QStringList, keys);
    QFETCH(QStringList, values);
    QFETCH(Rgb, shown);
    QFETCH(Rgb, stored);
    for (int i = 0; i < keys.size(); ++i)
        user_color_settings().setValue("COLOR2/" + keys[i], values[i]);
    LightingFixture mouse;
    const auto page = mouse.enter_page();
    ZY5_Led_Config &led = *page->led_config();
    QCOMPARE(rgb(led.preset(2)->color()), shown);
    QCOMPARE(stored_preset(2), stored);
    QCOMPARE(stored_preset(6), (Rgb{255, 0, 255}));

    // Choosing it sends what it shows, never a colour its stored values do not make.
    QTest::mouseClick(led.preset(2), Qt::LeftButton);
    QCOMPARE(device_colour(*mouse.state), shown);
}

void Zy5LightingTest::typed_components_data()
{
    QTest::addColumn<int>("edit");  // 0 red, 1 green, 2 blue
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Rgb>("sent");
    QTest::addColumn<int>("reports");
    QTest::newRow("red 200") << 0 << "200" << Rgb{200, 20, 30} << 3;
    QTest::newRow("green 0") << 1 << "0" << Rgb{10, 0, 30} << 1;
    QTest::newRow("blue 255") << 2 << "255" << Rgb{10, 20, 255} << 3;
    QTest::newRow("red 300 stops at 30") << 0 << "300" << Rgb{30, 20, 30} << 2;
    QTest::newRow("blue 256 stops at 25") << 2 << "256" << Rgb{10, 20, 25} << 2;
    QTest::newRow("green 999 stops at 99") << 1 << "999" << Rgb{10, 99, 30} << 2;
    QTest::newRow("green emptied") << 1 << "" << Rgb{10, 20, 30} << 0;
    QTest::newRow("letters") << 0 << "ab" << Rgb{10, 20, 30} << 0;
}

// Only a complete value in each edit applies; one still being typed sends nothing.
void Zy5LightingTest::typed_components()
{
    QFETCH(int, edit);
    QFETCH(QString, typed);
    QFETCH(Rgb, sent);
    QFETCH(int, reports);
    LightingFixture mouse;
    const auto page = mouse.enter_page();
    ZY5_Led_Config &led = *page->led_config();
    QLineEdit *edits[] = {led.red_edit(), led.green_edit(), led.blue_edit()};
    const int written = Zy5Fixture::reports_written();
    retype(edits[edit], typed);
    QCOMPARE(Zy5Fixture::reports_written() - written, reports);
    QCOMPARE(device_colour(*mouse.state), sent);
    QCOMPARE(rgb(led.color_square()->color()), sent);
    QCOMPARE(Zy5Fixture::rejections(), 0);
}

void Zy5LightingTest::typed_hex_codes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<Rgb>("sent");
    QTest::addColumn<int>("reports");
    QTest::newRow("six digits") << "12ab34" << "12AB34" << Rgb{0x12, 0xAB, 0x34} << 1;
    QTest::newRow("upper case") << "FF8000" << "FF8000" << Rgb{255, 128, 0} << 1;
    QTest::newRow("three digits") << "abc" << "ABC" << Rgb{10, 20, 30} << 0;
    QTest::newRow("five digits") << "12AB3" << "12AB3" << Rgb{10, 20, 30} << 0;
    QTest::newRow("a seventh digit") << "1234567" << "123456" << Rgb{0x12, 0x34, 0x56} << 1;
    QTest::newRow("not hex") << "zz" << "0A141E" << Rgb{10, 20, 30} << 0;
}

void Zy5LightingTest::typed_hex_codes()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(Rgb, sent);
    QFETCH(int, reports);
    LightingFixture mouse;
    const auto page = mouse.enter_page();
    ZY5_Led_Config &led = *page->led_config();
    const int written = Zy5Fixture::reports_written();
    retype(led.hex_edit(), typed);
    QCOMPARE(led.hex_edit()->text(), shown);
    QCOMPARE(Zy5Fixture::reports_written() - written, reports);
    QCOMPARE(device_colour(*mouse.state), sent);
    if (reports)
        QCOMPARE(led.blue_edit()->text(), QString::number(sent[2]));
}

// With a preset chosen, values being typed reach neither the mouse nor the preset; a
// typed hex colour is sent but not stored.
void Zy5LightingTest::unfinished_input_never_reaches_a_preset()
{
    LightingFixture mouse;
    const auto page = mouse.enter_page();
    ZY5_Led_Config &led = *page->led_config();
    QTest::mouseClick(led.preset(1), Qt::LeftButton);
    retype(led.red_edit(), "");
    retype(led.green_edit(), "");
    QCOMPARE(stored_preset(1), (Rgb{255, 0, 0}));
    QCOMPARE(device_colour(*mouse.state), (Rgb{255, 0, 0}));
    retype(led.hex_edit(), "0");
    QCOMPARE(stored_preset(1), (Rgb{255, 0, 0}));
    QCOMPARE(device_colour(*mouse.state), (Rgb{255, 0, 0}));
    retype(led.hex_edit(), "00FF00");
    QCOMPARE(device_colour(*mouse.state), (Rgb{0, 255, 0}));
    QCOMPARE(stored_preset(1), (Rgb{255, 0, 0}));
}

QTEST_MAIN(Zy5LightingTest)
#include "tst_zy5_lighting.moc"
