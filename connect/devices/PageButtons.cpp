#include "PageButtons.h"

#include "common/DevicePage.h"
#include "common/SharedStyles.h"
#include "editors/PopBox.h"

#include <QPushButton>

QPushButton *add_picture_button(DevicePage *page, const QRect &geometry, const QString &image)
{
    auto *picture = new QPushButton(page);
    picture->setGeometry(geometry);
    picture->setStyleSheet(QStringLiteral("QPushButton {image:url(%1)}").arg(image));
    QObject::connect(picture, &QPushButton::clicked, picture, &QWidget::hide);
    QObject::connect(picture, &QPushButton::clicked, page, &DevicePage::enter_widget);
    return picture;
}

QPushButton *add_restore_button(QWidget *page)
{
    auto *restore = new QPushButton(QObject::tr("恢复默认设置"), page);
    restore->setGeometry(913, 26, 130, 26);
    restore->setStyleSheet(style_push_button);
    restore->hide();
    return restore;
}

PopBox *add_restore_prompt(QWidget *page, QPushButton *restore_button)
{
    auto *prompt = new PopBox(page);
    prompt->setPopupText(QObject::tr("将把您的鼠标恢复为出厂配置，是否继续？"));
    prompt->setOkBtnText(QObject::tr("恢复"));
    QObject::connect(restore_button, &QPushButton::clicked, prompt, &QWidget::show);
    return prompt;
}
