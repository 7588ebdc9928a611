#include "Tavri_ZY5.h"

Tavri_ZY5::Tavri_ZY5(QWidget *parent)
    : DevicePage(parent)
{
    setGeometry(0, 0, 1200, 750);
}

void Tavri_ZY5::close_widget()
{
    deleteLater();
    emit return_back();
}
