// The confirmation box: cancel only hides; OK signals while the box is still shown.
#include "editors/PopBox.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class PopBoxTest : public QObject
{
    Q_OBJECT
private slots:
    void looks_like_a_frameless_popup();
    void cancel_only_hides();
    void ok_signals_before_hiding();
    void a_second_click_while_confirming_is_ignored();
};

void PopBoxTest::looks_like_a_frameless_popup()
{
    PopBox box;
    QCOMPARE(int(box.windowFlags() & (Qt::Popup | Qt::FramelessWindowHint)), 0x809);
    QVERIFY(box.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(box.size(), QSize(530, 76));
    QCOMPARE(box.text_label()->text(), QString("请确认操作"));
    box.setPopupText("问题");
    box.setOkBtnText("恢复");
    QCOMPARE(box.text_label()->text(), QString("问题"));
    QCOMPARE(box.ok_button()->text(), QString("恢复"));
    QCOMPARE(box.cancel_button()->text(), QString("取消"));
}

void PopBoxTest::cancel_only_hides()
{
    PopBox box;
    QSignalSpy ok(&box, &PopBox::ok_clicked);
    box.show();
    QTest::mouseClick(box.cancel_button(), Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(ok.count(), 0);
}

void PopBoxTest::ok_signals_before_hiding()
{
    PopBox box;
    QList<bool> visible_when_signalled;
    connect(&box, &PopBox::ok_clicked, [&] { visible_when_signalled.append(box.isVisible()); });
    box.show();
    QTest::mouseClick(box.ok_button(), Qt::LeftButton);
    QCOMPARE(visible_when_signalled, QList<bool>{true});
    QVERIFY(!box.isVisible());
}

// A confirmed action that waits processing events sees a second click on OK come in.
void PopBoxTest::a_second_click_while_confirming_is_ignored()
{
    PopBox box;
    int confirmed = 0;
    connect(&box, &PopBox::ok_clicked, [&] {
        if (++confirmed == 1)
            QTest::mouseClick(box.ok_button(), Qt::LeftButton);
    });
    box.show();
    QTest::mouseClick(box.ok_button(), Qt::LeftButton);
    QCOMPARE(confirmed, 1);
    QVERIFY(box.ok_button()->isEnabled());
    QVERIFY(!box.isVisible());
}

QTEST_MAIN(PopBoxTest)
#include "tst_pop_box.moc"
