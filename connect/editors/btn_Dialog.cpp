#include "btn_Dialog.h"

#include "FunctionLists.h"
#include "common/SharedStyles.h"
#include "micro_Widget.h"
#include "mkey_Edit.h"

#include <QButtonGroup>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>

namespace {

constexpr int kFadeMs = 500;

QScrollArea *scroll_area_for(QWidget *list, QWidget *dialog)
{
    auto *area = new QScrollArea(dialog);
    area->setGeometry(20, 50, 304, 200);
    area->setStyleSheet(style_scroll_panel);
    area->setWidget(list);
    return area;
}

QPropertyAnimation *opacity_fade(QGraphicsOpacityEffect *effect, qreal from, qreal to, QObject *parent)
{
    auto *fade = new QPropertyAnimation(effect, "opacity", parent);
    fade->setStartValue(from);
    fade->setEndValue(to);
    fade->setDuration(kFadeMs);
    fade->setEasingCurve(QEasingCurve::OutQuad);
    return fade;
}

} // namespace

btn_Dialog::btn_Dialog(QWidget *parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(334, 334);

    auto *body = new QLabel(this);
    body->setGeometry(0, 32, 334, 302);
    body->setStyleSheet(QStringLiteral("background-color:rgba(45,46,51,90%);border-bottom-left-radius:2px;"
                                       "border-bottom-right-radius:2px"));
    auto *header = new QLabel(this);
    header->setGeometry(0, 0, 334, 32);
    header->setStyleSheet(QStringLiteral("background-color:#2bac39;border-top-left-radius:2px;"
                                         "border-top-right-radius:2px"));
    title = new QLabel(tr("单击左键"), this);
    title->setGeometry(0, 0, 334, 32);
    title->setStyleSheet(style_tab_label);

    func_list = new func_List(this);
    combo_list = new combo_List(this);
    func_area = scroll_area_for(func_list, this);
    combo_area = scroll_area_for(combo_list, this);
    combo_area->hide();
    recorder = new micro_Widget(this);
    recorder->setGeometry(20, 50, 304, 200);
    recorder->hide();

    func_tab = new QPushButton(tr("功能键"), this);
    combo_tab = new QPushButton(tr("组合键"), this);
    macro_tab = new QPushButton(tr("多键宏"), this);
    tab_group = new QButtonGroup(this);
    int x = 20;
    for (QPushButton *tab : {func_tab, combo_tab, macro_tab}) {
        tab->setGeometry(x, 287, 90, 26);
        tab->setStyleSheet(style_check_button);
        tab->setCheckable(true);
        tab_group->addButton(tab, tab_group->buttons().size());
        x += 102;
    }
    func_tab->setChecked(true);

    const auto tab_toggled = &QButtonGroup::idToggled;
    connect(tab_group, tab_toggled, this, &btn_Dialog::dg_switch);
    connect(func_list, &func_List::func_btn_Toggled, this, &btn_Dialog::set_checked_btn);
    connect(combo_list, &combo_List::combo_btn_Toggled, this, &btn_Dialog::set_checked_btn);
    connect(func_list, &func_List::func_btn_Toggled, this, &btn_Dialog::show_btn_text);
    connect(combo_list, &combo_List::combo_btn_Toggled, this, &btn_Dialog::show_btn_text);
    connect(func_list, &func_List::func_btn_Toggled, this, &btn_Dialog::btn_clear);
    connect(combo_list, &combo_List::combo_btn_Toggled, this, &btn_Dialog::btn_clear);
    connect(recorder->save_button(), &QPushButton::clicked, this, &btn_Dialog::save_micro);

    auto *opacity = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(opacity);
    m_fadeOut = opacity_fade(opacity, 1, 0, this);
    m_fadeIn = opacity_fade(opacity, 0, 1, this);
    connect(m_fadeOut, &QPropertyAnimation::finished, this, &btn_Dialog::set_hide);
}

void btn_Dialog::dg_switch(int btn_id, bool checked)
{
    if (!checked || btn_id < FunctionTab || btn_id > MacroTab)
        return;
    func_area->setVisible(btn_id == FunctionTab);
    combo_area->setVisible(btn_id == CombinationTab);
    recorder->setVisible(btn_id == MacroTab);
}

void btn_Dialog::set_checked_btn(int ID, bool checked)
{
    if (checked)
        emit set_btn(ID);
}

void btn_Dialog::btn_clear(int, bool checked)
{
    if (!checked)
        return;
    switch (tab_group->checkedId()) {
    case FunctionTab:
        clear_choice(combo_list->group);
        break;
    case CombinationTab:
        clear_choice(func_list->group);
        break;
    case MacroTab:
        clear_choice(func_list->group);
        clear_choice(combo_list->group);
        break;
    default:
        break;
    }
}

void btn_Dialog::show_btn_text(int, bool checked)
{
    if (!checked)
        return;
    const int tab = tab_group->checkedId();
    if (tab == CombinationTab && combo_list->group->checkedId() == 0)
        title->setText(tr("自定义组合键:") + combo_list->editor->text());
    else if (tab == CombinationTab && combo_list->group->checkedButton())
        title->setText(combo_list->group->checkedButton()->text());
    else if (tab == MacroTab)
        title->setText(tr("多键宏"));
    else if (tab == FunctionTab && func_list->group->checkedButton())
        title->setText(func_list->group->checkedButton()->text());
}

void btn_Dialog::save_micro()
{
    btn_clear(0, true);
    show_btn_text(0, true);
    emit save_micro_clicked(1);
}

void btn_Dialog::set_hide()
{
    QDialog::setVisible(false);
}

void btn_Dialog::setVisible(bool visible)
{
    if (visible) {
        m_fadeOut->stop();  // reopened while fading out: stay open
        m_fadeIn->start();
        QDialog::setVisible(true);
    } else if (isVisible() && m_fadeOut->state() != QAbstractAnimation::Running) {
        m_fadeIn->stop();
        m_fadeOut->start();
    }
}

void btn_Dialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor(0, 0, 0, 51));
    painter.drawLine(20, 274, 314, 274);
}
