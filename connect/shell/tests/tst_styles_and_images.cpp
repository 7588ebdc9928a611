// Shared style sheets in pixels, and every image name the code uses.
#include "common/SharedStyles.h"

#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextStream>
#include <QtTest>

namespace {

const QColor kAccent("#2bac39");

QColor centre_of(QWidget &widget)
{
    const QImage image = widget.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 4);
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3 && qAbs(a.blue() - b.blue()) <= 3;
}

QStringList image_names_in_sources()
{
    QSet<QString> names;
    const QRegularExpression reference(QStringLiteral(":/img/[A-Za-z0-9_]+(\\.png)?"));
    QDirIterator files(qEnvironmentVariable("CONNECT_SOURCE_DIR"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = reference.globalMatch(text); it.hasNext();)
            names.insert(it.next().captured(0));
    }
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted;
}

} // namespace

class StylesAndImagesTest : public QObject
{
    Q_OBJECT
private slots:
    void checked_and_pressed_buttons_take_the_accent_colour();
    void disabled_labels_are_dimmer();
    void every_image_the_code_names_loads();
    void device_drawings_stay_inside_their_images();
};

void StylesAndImagesTest::checked_and_pressed_buttons_take_the_accent_colour()
{
    QWidget ground;
    ground.setStyleSheet("background:black");
    ground.resize(200, 100);
    auto *checked = new QPushButton("1600 dpi", &ground);
    checked->setStyleSheet(style_check_button);
    checked->setCheckable(true);
    checked->setChecked(true);
    checked->setGeometry(0, 0, 100, 40);
    auto *pressed = new QPushButton("恢复默认设置", &ground);
    pressed->setStyleSheet(style_push_button);
    pressed->setGeometry(100, 0, 100, 40);
    pressed->setDown(true);
    ground.show();

    QVERIFY2(near(centre_of(*checked), kAccent), qPrintable(centre_of(*checked).name()));
    QVERIFY2(near(centre_of(*pressed), kAccent), qPrintable(centre_of(*pressed).name()));
    pressed->setDown(false);
    checked->setChecked(false);
    QVERIFY(!near(centre_of(*pressed), kAccent));
    QVERIFY(!near(centre_of(*checked), kAccent));
}

void StylesAndImagesTest::disabled_labels_are_dimmer()
{
    QLabel label("■■■■■■■■");
    label.setStyleSheet(style_label);
    label.resize(120, 30);
    const auto brightest = [&label] {
        QImage image(label.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        int best = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                best = qMax(best, qAlpha(image.pixel(x, y)));
        return best;
    };
    label.show();
    const int enabled = brightest();
    label.setEnabled(false);
    const int disabled = brightest();
    QVERIFY2(qAbs(enabled - 178) <= 6, qPrintable(QString::number(enabled)));   // 70 % white
    QVERIFY2(qAbs(disabled - 77) <= 6, qPrintable(QString::number(disabled)));  // 30 % white
}

void StylesAndImagesTest::every_image_the_code_names_loads()
{
    const QStringList names = image_names_in_sources();
    QVERIFY2(names.size() >= 20, qPrintable(names.join(' ')));
    for (const QString &name : names)
        QVERIFY2(!QImage(name).isNull(), qPrintable(name));
}

// Nothing of a drawing touches the image's edge, where its outline would be cut.
void StylesAndImagesTest::device_drawings_stay_inside_their_images()
{
    for (const char *name : {":/img/QV8.png", ":/img/ZY5_top", ":/img/ZY5_side", ":/img/WK3.png",
                             ":/img/keyboard_pair_img", ":/img/mouse_pair_img", ":/img/QV8_icon.png",
                             ":/img/WK3_icon.png"}) {
        const QImage image = QImage(name).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!image.isNull(), name);
        int touching = 0;
        for (int x = 0; x < image.width(); ++x)
            touching += qAlpha(image.pixel(x, 0)) > 0 || qAlpha(image.pixel(x, image.height() - 1)) > 0;
        for (int y = 0; y < image.height(); ++y)
            touching += qAlpha(image.pixel(0, y)) > 0 || qAlpha(image.pixel(image.width() - 1, y)) > 0;
        QVERIFY2(touching == 0, qPrintable(QString("%1: %2 edge pixels").arg(name).arg(touching)));
    }
}

QTEST_MAIN(StylesAndImagesTest)
#include "tst_styles_and_images.moc"
