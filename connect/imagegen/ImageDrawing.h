#pragma once
#include <QColor>
#include <QImage>
#include <QString>

// Draws one of connect's images: plain shapes in one colour on a transparent ground.
// False when the drawing name is unknown.
bool draw_image(const QString &drawing, const QColor &colour, QImage *image);
