#include "Tavri_WK3.h"

Tavri_WK3::Tavri_WK3(QWidget *parent)
    : DevicePage(parent)
{
    setGeometry(0, 0, 1200, 750);
}

void Tavri_WK3::close_widget()
{
    deleteLater();
    emit return_back();
}
