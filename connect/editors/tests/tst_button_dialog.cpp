// The function and combination lists and the button assignment dialog: what each choice
// reports, the title, the clearing of the other lists and the fades.
#include "FakeKeyboardHook.h"
#include "editors/FunctionLists.h"
#include "editors/btn_Dialog.h"
#include "editors/micro_Widget.h"
#include "editors/mkey_Edit.h"

#include <QButtonGroup>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QtTest>

namespace {

using Report = QPair<int, bool>;

template <typename List, typename Signal>
QList<Report> *collect(List *list, Signal signal)
{
    auto *reports = new QList<Report>;
    QObject::connect(list, signal, list, [reports](int id, bool checked) { reports->append({id, checked}); });
    QObject::connect(list, &QObject::destroyed, [reports] { delete reports; });
    return reports;
}

} // namespace

class ButtonDialogTest : public QObject
{
    Q_OBJECT
private slots:
    void function_list_reports_old_and_new_row();
    void combination_list_saves_its_custom_row();
    void choosing_a_function_after_a_custom_combination();
    void unchecking_reports_nothing();
    void tabs_switch_the_panels();
    void saving_a_macro();
    void hides_with_a_fade();
    void reopened_during_the_fade_stays_open();
};

void ButtonDialogTest::function_list_reports_old_and_new_row()
{
    func_List functions;
    QCOMPARE(functions.size(), QSize(275, 374));
    QCOMPARE(functions.rows.size(), 11);
    QCOMPARE(functions.rows[0]->geometry(), QRect(0, 340, 275, 34));
    QCOMPARE(functions.rows[1]->geometry(), QRect(0, 0, 275, 34));
    QCOMPARE(functions.group->checkedId(), -1);
    QList<Report> *reports = collect(&functions, &func_List::func_btn_Toggled);
    functions.rows[4]->click();
    QCOMPARE(functions.rows[4]->text(), QString("后退"));
    functions.rows[0]->click();
    QCOMPARE(*reports, (QList<Report>{{4, true}, {4, false}, {0, true}}));
}

void ButtonDialogTest::combination_list_saves_its_custom_row()
{
    FakeHooks hooks;
    combo_List combinations;
    QCOMPARE(combinations.size(), QSize(275, 400));
    QCOMPARE(combinations.rows[0]->geometry(), QRect(0, 306, 275, 34));
    QCOMPARE(combinations.editor->geometry(), QRect(0, 340, 242, 60));
    QList<Report> *reports = collect(&combinations, &combo_List::combo_btn_Toggled);

    combinations.rows[5]->click();
    reports->clear();
    emit combinations.editor->mkey_save_clicked();
    QCOMPARE(*reports, (QList<Report>{{5, false}, {0, true}}));
    reports->clear();
    emit combinations.editor->mkey_save_clicked();  // saved again: reported again
    QCOMPARE(*reports, (QList<Report>{{0, true}}));

    combinations.editor->load_combination(0x01, 0x06);
    combinations.editor->show_mkey();
    combinations.get_mkey_value();
    QCOMPARE(combinations.rows[0]->text(), QString("自定义组合键:CTRL+C"));
}

void ButtonDialogTest::choosing_a_function_after_a_custom_combination()
{
    FakeHooks hooks;
    btn_Dialog dialog;
    QCOMPARE(int(dialog.windowFlags() & (Qt::Popup | Qt::FramelessWindowHint)), 0x809);
    QCOMPARE(dialog.title->text(), QString("单击左键"));
    dialog.combo_tab->click();
    dialog.combo_list->editor->load_combination(0x02, 0x04);
    dialog.combo_list->editor->show_mkey();
    QSignalSpy chosen(&dialog, &btn_Dialog::set_btn);
    dialog.combo_list->rows[0]->click();
    QCOMPARE(chosen.takeFirst(), QVariantList{0});
    QCOMPARE(dialog.title->text(), QString("自定义组合键:SHIFT+A"));

    QStringList title_when_chosen;
    connect(&dialog, &btn_Dialog::set_btn, [&] { title_when_chosen << dialog.title->text(); });
    dialog.func_tab->click();
    dialog.func_list->rows[5]->click();
    QCOMPARE(chosen.takeFirst(), QVariantList{5});
    QCOMPARE(title_when_chosen, QStringList{"自定义组合键:SHIFT+A"});  // set_btn before the title
    QCOMPARE(dialog.title->text(), QString("前进"));
    QCOMPARE(dialog.combo_list->group->checkedId(), -1);
    QVERIFY(chosen.isEmpty());

    dialog.combo_tab->click();
    dialog.combo_list->rows[3]->click();
    QCOMPARE(dialog.title->text(), QString("浏览器中的下一个标签(Ctrl+Tab)"));
    QCOMPARE(dialog.func_list->group->checkedId(), -1);
}

void ButtonDialogTest::unchecking_reports_nothing()
{
    FakeHooks hooks;
    btn_Dialog dialog;
    dialog.func_list->rows[2]->click();
    QSignalSpy chosen(&dialog, &btn_Dialog::set_btn);
    const QString title = dialog.title->text();
    dialog.combo_tab->click();
    dialog.btn_clear(0, true);  // clears the function list: its toggled(false) is ignored
    QCOMPARE(dialog.func_list->group->checkedId(), -1);
    QVERIFY(chosen.isEmpty());
    QCOMPARE(dialog.title->text(), title);
}

void ButtonDialogTest::tabs_switch_the_panels()
{
    FakeHooks hooks;
    btn_Dialog dialog;
    dialog.show();
    const auto shown = [&] {
        return QList<bool>{dialog.func_area->isVisible(), dialog.combo_area->isVisible(), dialog.recorder->isVisible()};
    };
    QCOMPARE(shown(), (QList<bool>{true, false, false}));
    dialog.combo_tab->click();
    QCOMPARE(shown(), (QList<bool>{false, true, false}));
    dialog.macro_tab->click();
    QCOMPARE(shown(), (QList<bool>{false, false, true}));
    dialog.func_tab->click();
    QCOMPARE(shown(), (QList<bool>{true, false, false}));
}

void ButtonDialogTest::saving_a_macro()
{
    FakeHooks hooks;
    btn_Dialog dialog;
    dialog.func_list->rows[3]->click();
    dialog.combo_list->rows[2]->click();
    dialog.macro_tab->click();
    QSignalSpy saved(&dialog, &btn_Dialog::save_micro_clicked);
    dialog.recorder->save_button()->click();
    QCOMPARE(saved.count(), 1);
    QCOMPARE(saved.first(), QVariantList{1});
    QCOMPARE(dialog.title->text(), QString("多键宏"));
    QCOMPARE(dialog.func_list->group->checkedId(), -1);
    QCOMPARE(dialog.combo_list->group->checkedId(), -1);
}

void ButtonDialogTest::hides_with_a_fade()
{
    FakeHooks hooks;
    btn_Dialog dialog;
    dialog.show();
    QVERIFY(dialog.isVisible());
    dialog.hide();
    QVERIFY(dialog.isVisible());
    QTest::qWait(200);
    dialog.hide();  // the running fade goes on
    QVERIFY(dialog.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 2000);
    dialog.hide();  // hidden already: nothing starts
    QTest::qWait(50);
    QVERIFY(!dialog.isVisible());
}

void ButtonDialogTest::reopened_during_the_fade_stays_open()
{
    FakeHooks hooks;
    btn_Dialog dialog;
    dialog.show();
    QTest::qWait(100);
    dialog.hide();
    QTest::qWait(250);
    dialog.show();
    QTest::qWait(800);  // past the end of the stopped fade-out
    QVERIFY(dialog.isVisible());
    auto *opacity = qobject_cast<QGraphicsOpacityEffect *>(dialog.graphicsEffect());
    QVERIFY(opacity);
    QCOMPARE(opacity->opacity(), 1.0);
}

QTEST_MAIN(ButtonDialogTest)
#include "tst_button_dialog.moc"
