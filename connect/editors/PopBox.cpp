#include "PopBox.h"

#include "common/SharedStyles.h"

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

PopBox::PopBox(QWidget *parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(530, 76);

    // The rounded background; the window itself is transparent.
    auto *background = new QLabel(this);
    background->setGeometry(0, 0, 530, 76);
    background->setStyleSheet(QStringLiteral("background-color:rgba(45,46,51,98%);border-radius:2px"));

    auto *icon = new QLabel(this);
    icon->setGeometry(46, 18, 40, 40);
    icon->setPixmap(QPixmap(QStringLiteral(":/img/warning_40x40")));

    m_textLabel = new QLabel(tr("请确认操作"), this);
    m_textLabel->setGeometry(100, 32, 230, 12);
    m_textLabel->setStyleSheet(style_label);

    m_okButton = new QPushButton(tr("确定"), this);
    m_okButton->setGeometry(414, 25, 70, 26);
    m_okButton->setStyleSheet(style_push_button);

    m_cancelButton = new QPushButton(tr("取消"), this);
    m_cancelButton->setGeometry(334, 25, 70, 26);
    m_cancelButton->setStyleSheet(style_push_button);

    connect(m_cancelButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_okButton, &QPushButton::clicked, this, &PopBox::confirm);
}

// OK: the signal first, then the box goes away. What the signal starts may process events
// while the box is still shown; OK stays disabled until then, so one click confirms once.
void PopBox::confirm()
{
    m_okButton->setEnabled(false);
    const QPointer<PopBox> alive(this);
    emit ok_clicked();
    if (!alive)
        return;
    m_okButton->setEnabled(true);
    hide();
}

void PopBox::setPopupText(QString text)
{
    m_textLabel->setText(text);
}

void PopBox::setOkBtnText(QString text)
{
    m_okButton->setText(text);
}
