#include "m_Navibar.h"

#include "m_Devlist.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalMapper>

m_Navibar::m_Navibar(QWidget *parent)
    : QWidget(parent)
    , m_leftArrow(new QPushButton(this))
    , m_rightArrow(new QPushButton(this))
    , m_scrollArea(new QScrollArea(this))
    , m_nameLabel(new QLabel(this))
    , m_devlist(new m_Devlist)
{
    m_leftArrow->setGeometry(20, 0, 36, 138);
    m_leftArrow->setStyleSheet(QStringLiteral("QPushButton {image: url(:/img/left_btn.png)}"));
    m_leftArrow->hide();
    m_rightArrow->setGeometry(1144, 0, 36, 138);
    m_rightArrow->setStyleSheet(QStringLiteral("QPushButton {image: url(:/img/right_btn.png)}"));
    m_rightArrow->hide();

    m_scrollArea->setGeometry(171, 0, 858, 138);
    m_scrollArea->setAlignment(Qt::AlignCenter);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setWidget(m_devlist);

    m_nameLabel->setGeometry(0, 185, 1200, 20);
    m_nameLabel->setAlignment(Qt::AlignCenter);
    m_nameLabel->setStyleSheet(QStringLiteral("QLabel{font:20px;color:#2bac39}"));

    connect(m_leftArrow, &QPushButton::clicked, this, &m_Navibar::scroll_left);
    connect(m_rightArrow, &QPushButton::clicked, this, &m_Navibar::scroll_right);
    connect(m_devlist, &m_Devlist::dev_cnt_changed, this, &m_Navibar::scroll_btn_update);
    connect(m_devlist->enter_mapper(), &QSignalMapper::mappedString, this,
            &m_Navibar::show_dev_name);
    connect(m_devlist, &m_Devlist::leave_btn, this, &m_Navibar::hide_dev_name);
}

void m_Navibar::scroll_left()
{
    scroll_by(-m_Devlist::kPitch);
}

void m_Navibar::scroll_right()
{
    scroll_by(m_Devlist::kPitch);
}

void m_Navibar::scroll_btn_update()
{
    const bool overflow = m_scrollArea->width() < m_devlist->width();
    m_leftArrow->setVisible(overflow);
    m_rightArrow->setVisible(overflow);
}

void m_Navibar::show_dev_name(QString dev_name)
{
    m_nameLabel->setText(dev_name);
}

void m_Navibar::hide_dev_name()
{
    m_nameLabel->setText(QString());
}

void m_Navibar::scroll_by(int pixels)
{
    QScrollBar *bar = m_scrollArea->horizontalScrollBar();
    bar->setValue(bar->value() + pixels);
}
