#include "m_Devlist.h"

#include "Tavri_Device_Btn.h"

#include <QDebug>
#include <QPushButton>
#include <QSignalMapper>

namespace {
const QString kButtonTemplate =
    QStringLiteral("QPushButton{image:url(icon_img)} QPushButton:hover{image:url(icon_hover_img)}");
}

m_Devlist::m_Devlist(QWidget *parent)
    : QWidget(parent)
    , m_addButton(new QPushButton(this))
    , m_enterMapper(new QSignalMapper(this))
    , m_clickMapper(new QSignalMapper(this))
{
    m_addButton->setStyleSheet(QStringLiteral("QPushButton {image: url(:/img/add_device.png)}"));
    resize_for_buttons();
}

bool m_Devlist::has_dev(const QString &dev_config_path, const QString &dev_sn) const
{
    return find_dev(dev_config_path, dev_sn) != nullptr;
}

void m_Devlist::add_dev(QString dev_config_path, QString /*dev_update_path*/, QString dev_sn, QString icon,
                        QString icon_hover, QString product_name)
{
    QString style = kButtonTemplate;
    style.replace(QStringLiteral("icon_hover_img"), icon_hover).replace(QStringLiteral("icon_img"), icon);

    auto *button = new Tavri_Device_Btn(this);
    button->dev_config_path = dev_config_path;
    button->dev_sn = dev_sn;
    button->product_name = product_name;
    button->setStyleSheet(style);
    button->setGeometry(kPitch * m_buttons.size(), 0, kSquare, kSquare);
    button->show();
    m_buttons.append(button);

    connect(button, &Tavri_Device_Btn::enter, m_enterMapper, qOverload<>(&QSignalMapper::map));
    connect(button, &Tavri_Device_Btn::leave, this, &m_Devlist::leave_btn);
    connect(button, &QPushButton::clicked, m_clickMapper, qOverload<>(&QSignalMapper::map));
    m_enterMapper->setMapping(button, product_name);
    m_clickMapper->setMapping(button, dev_config_path);

    resize_for_buttons();
    emit dev_cnt_changed();
}

void m_Devlist::del_dev(QString dev_config_path, QString dev_sn)
{
    qDebug() << "del sn ==" << dev_sn << "/n";
    Tavri_Device_Btn *button = find_dev(dev_config_path, dev_sn);
    if (!button)
        return;
    qDebug() << "find the dev to del /n";
    button->disconnect();
    m_enterMapper->removeMappings(button);
    m_clickMapper->removeMappings(button);
    button->deleteLater();
    m_buttons.removeOne(button);
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->move(kPitch * i, 0);
    resize_for_buttons();
    emit dev_cnt_changed();
}

Tavri_Device_Btn *m_Devlist::find_dev(const QString &dev_config_path, const QString &dev_sn) const
{
    for (Tavri_Device_Btn *button : m_buttons)
        if (button->dev_config_path == dev_config_path && button->dev_sn == dev_sn)
            return button;
    return nullptr;
}

// The list is one square wider than its buttons; the add-device square is the last.
void m_Devlist::resize_for_buttons()
{
    const int width = kSquare + kPitch * m_buttons.size();
    resize(width, kSquare);
    m_addButton->setGeometry(width - kSquare, 0, kSquare, kSquare);
}
