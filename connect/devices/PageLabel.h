#pragma once
#include "common/SharedStyles.h"

#include <QLabel>

// A caption of a settings page, in the shared label style.
inline QLabel *add_label(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setStyleSheet(style_label);
    return label;
}
