#include "PageNavBar.h"

#include <QButtonGroup>
#include <QDebug>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>

PageNavBar::PageNavBar(QWidget *parent)
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

    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idToggled, this, &PageNavBar::nav_btn_toggled);
}

QPushButton *PageNavBar::tab(int id) const
{
    return qobject_cast<QPushButton *>(m_group->button(id));
}

void PageNavBar::switch_settings(QStackedWidget *settings)
{
    move(0, settings->y() + settings->height() - height());
    hide();
    connect(this, &PageNavBar::nav_btn_selected, settings, &QStackedWidget::setCurrentIndex);
}

void PageNavBar::add_tab(int x, const QString &image, const QString &checked_image, int tip_x, const QString &tip)
{
    auto *button = new QPushButton(this);
    button->setGeometry(x, 30, 60, 38);
    button->setCheckable(true);
    button->setStyleSheet(
        QStringLiteral("QPushButton {border:none; background-color:transparent; image:url(%1)}"
                       "QPushButton:checked {image:url(%2)}"
                       "QPushButton:hover {background-color:rgba(255,255,255,0.03); image:url(%1)}"
                       "QPushButton:checked:hover {background-color:rgba(255,255,255,0.03); image:url(%2)}")
            .arg(image, checked_image));
    button->installEventFilter(this);
    const int id = m_tips.size();
    button->setChecked(id == 0);
    m_group->addButton(button, id);
    m_tips.append({tip_x, tip});
}

void PageNavBar::nav_btn_toggled(int ID, bool checked)
{
    if (!checked)
        return;
    qDebug() << ID;
    emit nav_btn_selected(ID);
}

bool PageNavBar::eventFilter(QObject *watched, QEvent *event)
{
    const int id = m_group->id(qobject_cast<QAbstractButton *>(watched));
    if (id >= 0 && event->type() == QEvent::Enter) {
        m_tip->move(m_tips.at(id).x, 0);
        m_tip->setText(m_tips.at(id).text);
        m_tip->show();
    } else if (id >= 0 && event->type() == QEvent::Leave) {
        m_tip->hide();
    }
    return QWidget::eventFilter(watched, event);
}
