// The device bar: squares, arrows, removal, hover names and clicks.
#include "shell/Tavri_Device_Btn.h"
#include "shell/m_Devlist.h"
#include "shell/m_Navibar.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalMapper>
#include <QSignalSpy>
#include <QtTest>

namespace {

void add(m_Devlist &list, const QString &path, const QString &sn = "12345678", const QString &name = "塔维精英鼠标")
{
    list.add_dev(path, QString(), sn, ":/img/QV8_icon.png", ":/img/QV8_icon_hover.png", name);
}

QList<int> button_xs(const m_Devlist &list)
{
    QList<int> xs;
    for (const Tavri_Device_Btn *button : list.buttons())
        xs.append(button->x());
    return xs;
}

} // namespace

class DeviceBarTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { delete m_window; }

    void geometry_for_each_device_count_data();
    void geometry_for_each_device_count();
    void removing_the_middle_button_closes_the_gap();
    void removal_needs_path_and_key();
    void equal_buttons_are_removed_from_the_left();
    void buttons_show_their_icons();
    void hover_shows_the_product_name();
    void clicks_carry_the_device_path();
    void arrows_scroll_by_one_square();
    void more_than_255_devices_keep_their_places();

private:
    QWidget *m_window = nullptr;
    m_Navibar *m_bar = nullptr;
    m_Devlist *m_list = nullptr;
};

void DeviceBarTest::init()
{
    m_window = new QWidget;
    m_window->setStyleSheet("QWidget {border:none; background:transparent;}");  // as in the main window
    m_window->resize(1200, 750);
    m_bar = new m_Navibar(m_window);
    m_bar->setGeometry(0, 525, 1200, 225);
    m_window->show();
    m_list = m_bar->devlist();
}

void DeviceBarTest::geometry_for_each_device_count_data()
{
    QTest::addColumn<int>("devices");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("arrows");
    QTest::newRow("none") << 0 << 138 << false;
    QTest::newRow("one") << 1 << 282 << false;
    QTest::newRow("two") << 2 << 426 << false;
    QTest::newRow("three") << 3 << 570 << false;
    QTest::newRow("four") << 4 << 714 << false;
    QTest::newRow("five fill the area exactly") << 5 << 858 << false;
    QTest::newRow("six overflow") << 6 << 1002 << true;
}

void DeviceBarTest::geometry_for_each_device_count()
{
    QFETCH(int, devices);
    QFETCH(int, width);
    QFETCH(bool, arrows);
    QSignalSpy changes(m_list, &m_Devlist::dev_cnt_changed);
    for (int i = 0; i < devices; ++i)
        add(*m_list, QString("path%1").arg(i));
    QCOMPARE(changes.count(), devices);
    QCOMPARE(m_list->size(), QSize(width, 138));
    QCOMPARE(m_list->add_button()->geometry(), QRect(width - 138, 0, 138, 138));
    for (int i = 0; i < devices; ++i)
        QCOMPARE(m_list->buttons()[i]->geometry(), QRect(144 * i, 0, 138, 138));
    QCOMPARE(m_bar->left_arrow()->isVisible(), arrows);
    QCOMPARE(m_bar->right_arrow()->isVisible(), arrows);

    // Back to five and the arrows go.
    if (devices == 6) {
        m_list->del_dev("path5", "12345678");
        QVERIFY(!m_bar->left_arrow()->isVisible());
        QVERIFY(!m_bar->right_arrow()->isVisible());
    }
}

void DeviceBarTest::removing_the_middle_button_closes_the_gap()
{
    add(*m_list, "a");
    add(*m_list, "b");
    add(*m_list, "c");
    QSignalSpy changes(m_list, &m_Devlist::dev_cnt_changed);
    m_list->del_dev("b", "12345678");
    QCOMPARE(changes.count(), 1);
    QCOMPARE(button_xs(*m_list), (QList<int>{0, 144}));
    QCOMPARE(m_list->buttons()[1]->dev_config_path, QString("c"));
    QCOMPARE(m_list->add_button()->x(), 288);
    QCOMPARE(m_list->width(), 426);
}

void DeviceBarTest::removal_needs_path_and_key()
{
    add(*m_list, "a", "11111111");
    QSignalSpy changes(m_list, &m_Devlist::dev_cnt_changed);
    m_list->del_dev("other", "11111111");
    m_list->del_dev("a", "22222222");
    m_list->del_dev("A", "11111111");
    QCOMPARE(m_list->buttons().size(), 1);
    QCOMPARE(changes.count(), 0);
}

void DeviceBarTest::equal_buttons_are_removed_from_the_left()
{
    add(*m_list, "a");
    add(*m_list, "a");
    QCOMPARE(m_list->buttons().size(), 2);
    QPointer<Tavri_Device_Btn> left = m_list->buttons()[0];
    Tavri_Device_Btn *right = m_list->buttons()[1];
    m_list->del_dev("a", "12345678");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(left.isNull());
    QCOMPARE(m_list->buttons(), QList<Tavri_Device_Btn *>{right});
    QCOMPARE(right->x(), 0);
}

void DeviceBarTest::buttons_show_their_icons()
{
    add(*m_list, "a");
    QCOMPARE(m_list->buttons()[0]->styleSheet(),
             QString("QPushButton{image:url(:/img/QV8_icon.png)} QPushButton:hover{image:url(:/img/QV8_icon_hover.png)}"));
}

void DeviceBarTest::hover_shows_the_product_name()
{
    add(*m_list, "a", "11111111", "塔维精英鼠标");
    add(*m_list, "b", "22222222", "塔维精英键盘");
    QEvent enter(QEvent::Enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(m_list->buttons()[1], &enter);
    QCOMPARE(m_bar->name_label()->text(), QString("塔维精英键盘"));
    QCoreApplication::sendEvent(m_list->buttons()[1], &leave);
    QCOMPARE(m_bar->name_label()->text(), QString());
    QVERIFY(m_bar->name_label()->isVisible());
}

void DeviceBarTest::clicks_carry_the_device_path()
{
    add(*m_list, "a", "11111111");
    add(*m_list, "b", "22222222");
    QSignalSpy clicks(m_list->click_mapper(), &QSignalMapper::mappedString);
    m_list->buttons()[1]->click();
    m_list->del_dev("a", "11111111");
    m_list->buttons()[0]->click();
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks[0][0].toString(), QString("b"));
    QCOMPARE(clicks[1][0].toString(), QString("b"));
}

void DeviceBarTest::arrows_scroll_by_one_square()
{
    for (int i = 0; i < 7; ++i)
        add(*m_list, QString("path%1").arg(i));
    QScrollBar *bar = m_bar->scroll_area()->horizontalScrollBar();
    QVERIFY(!m_bar->scroll_area()->verticalScrollBar()->isVisible());
    QCOMPARE(bar->maximum(), 1146 - 858);
    m_bar->right_arrow()->click();
    QCOMPARE(bar->value(), 144);
    m_bar->right_arrow()->click();
    m_bar->right_arrow()->click();
    QCOMPARE(bar->value(), bar->maximum());  // clamped
    m_bar->left_arrow()->click();
    QCOMPARE(bar->value(), bar->maximum() - 144);
}

void DeviceBarTest::more_than_255_devices_keep_their_places()
{
    for (int i = 0; i < 300; ++i)
        add(*m_list, QString("path%1").arg(i));
    m_list->del_dev("path0", "12345678");
    QCOMPARE(m_list->buttons().size(), 299);
    QCOMPARE(m_list->buttons().last()->x(), 144 * 298);
    QCOMPARE(m_list->buttons().last()->dev_config_path, QString("path299"));
    QCOMPARE(m_list->add_button()->x(), 144 * 299);
}

QTEST_MAIN(DeviceBarTest)
#include "tst_device_bar.moc"
