#include "ReturnButton.h"

#include <QPushButton>

QPushButton *add_return_button(QWidget *page)
{
    auto *back = new QPushButton(page);
    back->setGeometry(40, 700, 10, 20);
    back->setStyleSheet(QStringLiteral(
        "QPushButton {image: url(:/img/return.png)} QPushButton:hover {image: url(:/img/return_hover.png)}"));
    return back;
}
