#include "Tavri_Device_Btn.h"

Tavri_Device_Btn::Tavri_Device_Btn(QWidget *parent)
    : QPushButton(parent)
{
}

void Tavri_Device_Btn::enterEvent(QEvent *event)
{
    QPushButton::enterEvent(event);
    emit enter();
}

void Tavri_Device_Btn::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    emit leave();
}
