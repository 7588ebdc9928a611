// The colour square with its hue bar, the colour swatch and the speed slider: positions to
// colours and back, what each press and release does, and what they paint.
#include "editors/ColorBtn.h"
#include "editors/QHueSlider.h"
#include "editors/SpeedSlider.h"
#include "editors/color_picker_Square.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Compares HSV fractions as the widgets compute them, to QColor's 16-bit precision.
bool near(double a, double b)
{
    return qAbs(a - b) < 0.001;
}

} // namespace

class ColourWidgetsTest : public QObject
{
    Q_OBJECT
private slots:
    void a_press_in_the_square_picks_its_colour_data();
    void a_press_in_the_square_picks_its_colour();
    void presses_outside_the_picture_do_nothing_data();
    void presses_outside_the_picture_do_nothing();
    void a_colour_shown_comes_back_from_its_marker_data();
    void a_colour_shown_comes_back_from_its_marker();
    void the_hue_bar_sets_the_hue_and_applies_it_on_press_and_release();
    void the_square_paints_its_hue_or_a_placeholder();
    void only_a_left_click_inside_checks_a_swatch();
    void a_release_outside_ends_the_press();
    void the_speed_label_follows_the_value();
};

void ColourWidgetsTest::a_press_in_the_square_picks_its_colour_data()
{
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<double>("saturation");
    QTest::addColumn<double>("value");
    QTest::newRow("top left: white") << QPoint(6, 6) << 0.0 << 1.0;
    QTest::newRow("bottom right, one beyond: black") << QPoint(186, 112) << 1.0 << 0.0;
    QTest::newRow("middle") << QPoint(96, 59) << 0.5 << 0.5;
    QTest::newRow("top right: full colour") << QPoint(186, 6) << 1.0 << 1.0;
}

void ColourWidgetsTest::a_press_in_the_square_picks_its_colour()
{
    QFETCH(QPoint, position);
    QFETCH(double, saturation);
    QFETCH(double, value);
    color_picker_Square square;
    square.resize(196, 300);
    square.hue_slider()->setValue(240);
    QSignalSpy selected(&square, &color_picker_Square::color_selected);

    QTest::mouseClick(&square, Qt::LeftButton, {}, position);

    QCOMPARE(selected.count(), 1);
    QCOMPARE(square.marker(), position);
    QVERIFY(near(square.hue(), 240.0 / 359));
    QVERIFY(near(square.color().hsvSaturationF(), saturation));
    QVERIFY(near(square.color().valueF(), value));
}

void ColourWidgetsTest::presses_outside_the_picture_do_nothing_data()
{
    QTest::addColumn<QPoint>("position");
    QTest::newRow("left of it") << QPoint(5, 50);
    QTest::newRow("below it") << QPoint(50, 113);
    QTest::newRow("right of it") << QPoint(187, 50);
    QTest::newRow("above it") << QPoint(50, 5);
}

void ColourWidgetsTest::presses_outside_the_picture_do_nothing()
{
    QFETCH(QPoint, position);
    color_picker_Square square;
    square.resize(196, 300);
    square.setColor(Qt::red);
    QSignalSpy selected(&square, &color_picker_Square::color_selected);
    QTest::mouseClick(&square, Qt::LeftButton, {}, position);
    QCOMPARE(selected.count(), 0);
    QCOMPARE(square.color(), QColor(Qt::red));
    QCOMPARE(square.marker(), QPoint(186, 6));
}

void ColourWidgetsTest::a_colour_shown_comes_back_from_its_marker_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QPoint>("marker");
    QTest::addColumn<int>("hue_bar");
    QTest::newRow("red") << QColor(255, 0, 0) << QPoint(186, 6) << 0;
    QTest::newRow("grey") << QColor(128, 128, 128) << QPoint(6, 58) << 0;
    QTest::newRow("black") << QColor(0, 0, 0) << QPoint(6, 112) << 0;
    QTest::newRow("dark teal") << QColor(18, 171, 52) << QPoint(167, 40) << 133;
}

// setColor places marker and hue bar without a signal; applying the marker again gives
// the colour back (to the rounding of the marker's whole pixels).
void ColourWidgetsTest::a_colour_shown_comes_back_from_its_marker()
{
    QFETCH(QColor, colour);
    QFETCH(QPoint, marker);
    QFETCH(int, hue_bar);
    color_picker_Square square;
    square.hue_slider()->setValue(300);
    QSignalSpy selected(&square, &color_picker_Square::color_selected);
    square.setColor(colour);
    QCOMPARE(selected.count(), 0);
    QCOMPARE(square.color(), colour);
    QCOMPARE(square.marker(), marker);
    QCOMPARE(square.hue_slider()->value(), hue_bar);

    square.qsliderRelease();
    QCOMPARE(selected.count(), 1);
    const QColor back = square.color();
    QVERIFY2(qAbs(back.red() - colour.red()) <= 3 && qAbs(back.green() - colour.green()) <= 3 &&
                 qAbs(back.blue() - colour.blue()) <= 3,
             qPrintable(back.name()));
}

void ColourWidgetsTest::the_hue_bar_sets_the_hue_and_applies_it_on_press_and_release()
{
    color_picker_Square square;
    square.resize(196, 300);
    square.show();
    square.setColor(QColor(255, 0, 0));
    QSignalSpy selected(&square, &color_picker_Square::color_selected);
    QHueSlider *bar = square.hue_slider();

    bar->setValue(359);
    QCOMPARE(square.hue(), 1.0);
    QCOMPARE(selected.count(), 0);  // dragging only repaints
    square.setHue(-5);
    QCOMPARE(square.hue(), 0.0);
    square.setHue(400);
    QCOMPARE(square.hue(), 1.0);

    bar->setValue(120);
    QSignalSpy pressed(bar, &QHueSlider::slider_pressed);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(96, 20));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(selected.count(), 1);
    bar->setSliderDown(true);
    bar->setSliderDown(false);  // the release of a drag
    QCOMPARE(selected.count(), 2);
    QVERIFY(near(square.color().hueF(), square.hue()));

    // Keys and page steps move nothing.
    const int value = bar->value();
    QTest::keyClick(bar, Qt::Key_Right);
    QTest::keyClick(bar, Qt::Key_PageUp);
    QCOMPARE(bar->value(), value);
}

void ColourWidgetsTest::the_square_paints_its_hue_or_a_placeholder()
{
    color_picker_Square square;
    square.resize(196, 300);
    square.setHue(0);
    square.setColor(QColor(0, 0, 0));
    const QImage enabled = square.grab().toImage();
    const QRgb top_right = enabled.pixel(184, 8);
    QVERIFY(qRed(top_right) > 240 && qGreen(top_right) < 10 && qBlue(top_right) < 10);  // the hue, saturated
    QVERIFY(qGray(enabled.pixel(8, 8)) > 240);                                         // white at top left
    QVERIFY(qGray(enabled.pixel(100, 110)) < 10);                                      // black at the bottom

    square.setEnabled(false);
    const QImage disabled = square.grab().toImage();
    QCOMPARE(disabled.pixel(184, 8), disabled.pixel(8, 8));
    QVERIFY(!square.hue_slider()->isEnabled());
    QVERIFY(!square.hue_slider()->grab().isNull());
}

void ColourWidgetsTest::only_a_left_click_inside_checks_a_swatch()
{
    ColorBtn swatch;
    swatch.resize(18, 18);
    swatch.setBtnColor(Qt::blue);
    QTest::mouseClick(&swatch, Qt::RightButton);
    QVERIFY(!swatch.isChecked());
    QCOMPARE(swatch.pointer_state(), int(ColorBtn::Normal));
    QTest::mouseClick(&swatch, Qt::LeftButton);
    QVERIFY(swatch.isChecked());
    QCOMPARE(swatch.pointer_state(), int(ColorBtn::Inside));
    QVERIFY(!swatch.grab().isNull());
}

// A press released outside clicks nothing, but it is over: the swatch no longer looks
// pressed, and a later release inside without a press of its own clicks nothing either.
void ColourWidgetsTest::a_release_outside_ends_the_press()
{
    ColorBtn swatch;
    swatch.resize(18, 18);
    swatch.show();
    QSignalSpy clicked(&swatch, &QAbstractButton::clicked);
    QTest::mousePress(&swatch, Qt::LeftButton, {}, QPoint(9, 9));
    QCOMPARE(swatch.pointer_state(), int(ColorBtn::Pressed));
    QVERIFY(swatch.isDown());
    QTest::mouseRelease(&swatch, Qt::LeftButton, {}, QPoint(40, 40));
    QVERIFY(!swatch.isChecked());
    QVERIFY(!swatch.press_pending());
    QVERIFY(!swatch.isDown());
    QCOMPARE(swatch.pointer_state(), int(ColorBtn::Normal));

    QTest::mouseRelease(&swatch, Qt::LeftButton, {}, QPoint(9, 9));
    QVERIFY(!swatch.isChecked());
    QCOMPARE(clicked.count(), 0);
}

void ColourWidgetsTest::the_speed_label_follows_the_value()
{
    SpeedSlider slider;
    QCOMPARE(slider.value(), 4);
    QCOMPARE(slider.size(), QSize(292, 50));
    QCOMPARE(slider.value_label()->text(), QString());
    slider.setValue(3);
    QCOMPARE(slider.value_label()->text(), QString("3"));
    QCOMPARE(slider.value_label()->pos(), QPoint(81, 38));
    for (int outside : {0, 9}) {
        slider.move_value(outside);
        QCOMPARE(slider.value_label()->text(), QString("3"));
    }
    slider.move_value(8);
    QCOMPARE(slider.value_label()->pos(), QPoint(281, 38));
    QVERIFY(!slider.grab().isNull());
}

QTEST_MAIN(ColourWidgetsTest)
#include "tst_colour_widgets.moc"
