#include "Tavri_QV8.h"

Tavri_QV8::Tavri_QV8(QWidget *parent)
    : DevicePage(parent)
{
    setGeometry(0, 0, 1200, 750);
}

void Tavri_QV8::close_widget()
{
    deleteLater();
    emit return_back();
}
