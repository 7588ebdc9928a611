#pragma once
#include <QString>

// The small return arrow of the information and device pages.
inline const QString style_return_button = QStringLiteral(
    "QPushButton {image: url(:/img/return.png)} QPushButton:hover {image: url(:/img/return_hover.png)}");
