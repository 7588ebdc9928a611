#include "App_Pair_Widget.h"

#include "common/ReturnButton.h"

#include <QLabel>
#include <QPushButton>

namespace {

const QString kStepStyle = QStringLiteral("QLabel{font:14px;color:rgba(255,255,255,0.7)}");

QLabel *add_label(QWidget *parent, const QRect &geometry, const QString &style)
{
    auto *label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setStyleSheet(style);
    return label;
}

} // namespace

App_Pair_Widget::App_Pair_Widget(QWidget *parent)
    : QWidget(parent)
    , m_returnButton(nullptr)
{
    const QString rule = QStringLiteral("QLabel {background-color:rgba(255,255,255,0.11)}");
    add_label(this, QRect(0, 77, 1200, 3), rule);
    add_label(this, QRect(600, 80, 2, 590), rule);

    add_half({0, QStringLiteral("配对键盘设备"),
              {QStringLiteral("1、保证0.5米内，没有接收器。"),
               QStringLiteral("2、开启键盘电源开关，切换到接收器模式。"),
               QStringLiteral("3、长按USB模式键3秒，键盘电源指示灯白色闪烁，进入接收器配对模式。"),
               QStringLiteral("4、USB接收器插入电脑，移动键盘至接收器0.5米内距离。"),
               QStringLiteral("5、模式灯停止闪烁，键盘与接收器配对完成。")},
              QStringLiteral(":/img/keyboard_pair_img"), QStringLiteral("USB模式键")});
    add_half({600, QStringLiteral("配对鼠标设备"),
              {QStringLiteral("1、保证0.5米内，没有接收器。"),
               QStringLiteral("2、同时按住鼠标左键和右键后，开启电源开关。"),
               QStringLiteral("3、鼠标指示灯绿色闪烁，进入接收器配对模式。"),
               QStringLiteral("4、USB接收器插入电脑，移动鼠标至接收器0.5米内距离。"),
               QStringLiteral("5、模式灯停止闪烁，鼠标与接收器配对完成。")},
              QStringLiteral(":/img/mouse_pair_img"), QStringLiteral("鼠标左右键")});

    m_returnButton = add_return_button(this);
}

void App_Pair_Widget::add_half(const Half &half)
{
    QLabel *title = add_label(this, QRect(half.x, 133, 600, 24), QStringLiteral("QLabel{font:24px;color:#2bac39}"));
    title->setAlignment(Qt::AlignCenter);
    title->setText(half.title);

    add_label(this, QRect(half.x + 60, 182, 480, 100), kStepStyle)->setText(half.steps.join(QLatin1Char('\n')));

    QLabel *picture = add_label(this, QRect(half.x, 380, 600, 120), QString());
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(QPixmap(half.picture));

    QLabel *caption = add_label(this, QRect(half.x, 540, 600, 14), kStepStyle);
    caption->setAlignment(Qt::AlignCenter);
    caption->setText(half.caption);
}
