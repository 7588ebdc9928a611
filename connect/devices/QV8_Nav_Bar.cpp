#include "QV8_Nav_Bar.h"

#include <QButtonGroup>
#include <QDebug>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

QV8_Nav_Bar::QV8_Nav_Bar(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(1200, 68);

    auto *background = new QLabel(this);
    background->setGeometry(0, 30, 1200, 38);
    background->setPixmap(QPixmap(QStringLiteral(":/img/nav_bar")));

    m_tip = new QLabel(this);
    m_tip->setFixedSize(84, 24);
    m_tip->setStyleSheet(QStringLiteral("image: url(:/img/btn_tip_bg.png);font:12px;color:rgba(255,255,255,0.4)"));
    m_tip->setAlignment(Qt::AlignCenter);
    m_tip->hide();

    m_buttonSettings = add_button(540, QStringLiteral(":/img/buttons.png"), QStringLiteral(":/img/buttons_selected.png"));
    m_buttonSettings->setChecked(true);
    m_deviceSettings =
        add_button(600, QStringLiteral(":/img/dev_config.png"), QStringLiteral(":/img/dev_config_selected.png"));

    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    m_group->addButton(m_buttonSettings, 0);
    m_group->addButton(m_deviceSettings, 1);
    connect(m_group, &QButtonGroup::idToggled, this, &QV8_Nav_Bar::nav_btn_toggled);
}

QPushButton *QV8_Nav_Bar::add_button(int x, const QString &image, const QString &checked_image)
{
    auto *button = new QPushButton(this);
    button->setGeometry(x, 30, 60, 38);
    button->setCheckable(true);
    button->setStyleSheet(
        QStringLiteral("QPushButton {border:none; background-color:transparent; image:url(%1)}"
                       "QPushButton:checked {image:url(%2)}"
                       "QPushButton:hover {background-color:rgba(255,255,255,0.03)}")
            .arg(image, checked_image));
    button->installEventFilter(this);
    return button;
}

void QV8_Nav_Bar::nav_btn_toggled(int ID, bool checked)
{
    if (!checked)
        return;
    qDebug() << ID;
    emit nav_btn_selected(ID);
}

bool QV8_Nav_Bar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter && watched == m_buttonSettings)
        show_tip(498, tr("按键设置"));
    else if (event->type() == QEvent::Enter && watched == m_deviceSettings)
        show_tip(558, tr("设备配置"));
    else if (event->type() == QEvent::Leave && (watched == m_buttonSettings || watched == m_deviceSettings))
        m_tip->hide();
    return QWidget::eventFilter(watched, event);
}

void QV8_Nav_Bar::show_tip(int x, const QString &text)
{
    m_tip->move(x, 0);
    m_tip->setText(text);
    m_tip->show();
}
