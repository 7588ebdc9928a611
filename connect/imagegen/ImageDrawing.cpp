#include "ImageDrawing.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter &, const QRectF &, const QColor &)>;

QPen pen_of(const QColor &colour, const QRectF &area)
{
    return QPen(colour, qMax(1.5, qMin(area.width(), area.height()) / 10.0), Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin);
}

QRectF square_in(const QRectF &area, qreal fraction)
{
    const qreal side = qMin(area.width(), area.height()) * fraction;
    QRectF square(0, 0, side, side);
    square.moveCenter(area.center());
    return square;
}

void chevron(QPainter &p, const QRectF &a, const QColor &c, bool right)
{
    const QRectF box = square_in(a, 0.7);
    const qreal tip = right ? box.right() : box.left();
    const qreal back = right ? box.left() + box.width() * 0.3 : box.right() - box.width() * 0.3;
    p.setPen(pen_of(c, box));
    p.drawPolyline(QPolygonF({QPointF(back, box.top()), QPointF(tip, box.center().y()), QPointF(back, box.bottom())}));
}

void arrow(QPainter &p, const QRectF &a, const QColor &c, bool down)
{
    const QRectF box = square_in(a, 0.7);
    p.setPen(pen_of(c, box));
    p.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
    const qreal head = down ? box.bottom() : box.top();
    const qreal wing = down ? box.center().y() : box.center().y();
    p.drawPolyline(QPolygonF({QPointF(box.left(), wing), QPointF(box.center().x(), head), QPointF(box.right(), wing)}));
}

// The area less an outline's width and an antialiased pixel all round, so that outlines
// drawn on a shape fitted into it stay inside the image.
QRectF room_for_outline(const QRectF &a, qreal outline)
{
    const qreal margin = outline + 1;
    return a.adjusted(margin, margin, -margin, -margin);
}

void mouse_body(QPainter &p, const QRectF &a, const QColor &c)
{
    const qreal outline = qMax(1.0, qMin(a.width(), a.height() * 0.62) / 60);
    const QRectF room = room_for_outline(a, outline);
    QRectF body(0, 0, qMin(room.width(), room.height() * 0.62), qMin(room.height(), room.width() / 0.62));
    body.moveCenter(room.center());
    p.setPen(QPen(c.lighter(140), outline));
    p.setBrush(c.darker(250));
    p.drawRoundedRect(body, body.width() * 0.48, body.width() * 0.48);
    p.drawLine(QPointF(body.center().x(), body.top()), QPointF(body.center().x(), body.top() + body.height() * 0.38));
    p.drawLine(QPointF(body.left(), body.top() + body.height() * 0.38),
               QPointF(body.right(), body.top() + body.height() * 0.38));
    p.setBrush(c);
    p.drawRoundedRect(QRectF(body.center().x() - body.width() * 0.05, body.top() + body.height() * 0.1,
                             body.width() * 0.1, body.height() * 0.16),
                      body.width() * 0.05, body.width() * 0.05);
}

void keyboard_body(QPainter &p, const QRectF &a, const QColor &c)
{
    const qreal outline = qMax(1.0, qMin(a.height(), a.width() / 2.8) / 50);
    const QRectF room = room_for_outline(a, outline);
    QRectF body(0, 0, qMin(room.width(), room.height() * 2.8), qMin(room.height(), room.width() / 2.8));
    body.moveCenter(room.center());
    p.setPen(QPen(c.lighter(140), outline));
    p.setBrush(c.darker(250));
    p.drawRoundedRect(body, body.height() * 0.08, body.height() * 0.08);
    const int columns = 12;
    const int rows = 4;
    const qreal key = body.width() / (columns + 2);
    p.setBrush(c.darker(150));
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            p.drawRect(QRectF(body.left() + key * (column + 1) + key * 0.1, body.top() + body.height() * 0.12
                                  + row * body.height() * 0.2, key * 0.8, body.height() * 0.15));
}

void tile(QPainter &p, const QRectF &a, const QColor &c, const Drawing &inner)
{
    const QRectF box = a.adjusted(6, 6, -6, -6);
    p.setPen(QPen(c, 2));
    p.setBrush(QColor(255, 255, 255, 12));
    p.drawRoundedRect(box, 10, 10);
    inner(p, box.adjusted(box.width() * 0.25, box.height() * 0.2, -box.width() * 0.25, -box.height() * 0.2), c);
}

void tab(QPainter &p, const QRectF &a, const QColor &c, const Drawing &inner)
{
    inner(p, square_in(a, 0.6), c);
}

void buttons_glyph(QPainter &p, const QRectF &a, const QColor &c)
{
    p.setPen(pen_of(c, a));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(a.adjusted(a.width() * 0.2, 0, -a.width() * 0.2, 0), a.width() * 0.3, a.width() * 0.3);
    p.drawLine(QPointF(a.center().x(), a.top()), QPointF(a.center().x(), a.center().y()));
}

void gear(QPainter &p, const QRectF &a, const QColor &c)
{
    const QRectF box = square_in(a, 0.8);
    p.setPen(pen_of(c, box));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(square_in(box, 0.55));
    for (int i = 0; i < 8; ++i) {
        const qreal angle = i * M_PI / 4;
        const QPointF from = box.center() + QPointF(qCos(angle), qSin(angle)) * box.width() * 0.3;
        const QPointF to = box.center() + QPointF(qCos(angle), qSin(angle)) * box.width() * 0.5;
        p.drawLine(from, to);
    }
}

const QHash<QString, Drawing> &drawings()
{
    static const QHash<QString, Drawing> table = {
        {"backdrop", [](QPainter &p, const QRectF &a, const QColor &c) {
             QLinearGradient gradient(a.topLeft(), a.bottomLeft());
             gradient.setColorAt(0, c.lighter(130));
             gradient.setColorAt(1, c);
             p.setPen(QPen(QColor(255, 255, 255, 30), 1));
             p.setBrush(gradient);
             p.drawRoundedRect(a.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
         }},
        {"wordmark", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawEllipse(QRectF(a.left(), a.top(), a.height(), a.height()));
             p.drawRoundedRect(QRectF(a.left() + a.height() * 1.3, a.center().y() - a.height() * 0.2,
                                      a.width() - a.height() * 1.3, a.height() * 0.4), 2, 2);
         }},
        {"emblem", [](QPainter &p, const QRectF &a, const QColor &c) {
             const QRectF box = square_in(a, 0.9);
             p.setPen(QPen(c, box.width() / 10));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(box.adjusted(box.width() / 20, box.width() / 20, -box.width() / 20, -box.width() / 20));
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawEllipse(square_in(box, 0.4));
         }},
        {"strip", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.fillRect(a, c);
             p.fillRect(QRectF(a.left(), a.top(), a.width(), 1), QColor(255, 255, 255, 28));
         }},
        {"bubble", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawRoundedRect(a.adjusted(0, 0, 0, -4), 3, 3);
             p.drawPolygon(QPolygonF({QPointF(a.center().x() - 4, a.bottom() - 4), QPointF(a.center().x() + 4, a.bottom() - 4),
                                      QPointF(a.center().x(), a.bottom())}));
         }},
        {"dot", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawEllipse(a);
         }},
        {"chevron_left", [](QPainter &p, const QRectF &a, const QColor &c) { chevron(p, a, c, false); }},
        {"chevron_right", [](QPainter &p, const QRectF &a, const QColor &c) { chevron(p, a, c, true); }},
        {"arrow_down", [](QPainter &p, const QRectF &a, const QColor &c) { arrow(p, a, c, true); }},
        {"arrow_up", [](QPainter &p, const QRectF &a, const QColor &c) { arrow(p, a, c, false); }},
        {"minus", [](QPainter &p, const QRectF &a, const QColor &c) {
             const QRectF box = square_in(a, 0.6);
             p.setPen(pen_of(c, box));
             p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
         }},
        {"cross", [](QPainter &p, const QRectF &a, const QColor &c) {
             const QRectF box = square_in(a, 0.6);
             p.setPen(pen_of(c, box));
             p.drawLine(box.topLeft(), box.bottomRight());
             p.drawLine(box.topRight(), box.bottomLeft());
         }},
        {"gear", gear},
        {"plus_tile", [](QPainter &p, const QRectF &a, const QColor &c) {
             tile(p, a, c, [](QPainter &q, const QRectF &b, const QColor &colour) {
                 const QRectF box = square_in(b, 0.6);
                 q.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
                 q.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
                 q.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
             });
         }},
        {"mouse_tile", [](QPainter &p, const QRectF &a, const QColor &c) { tile(p, a, c, mouse_body); }},
        {"keyboard_tile", [](QPainter &p, const QRectF &a, const QColor &c) { tile(p, a, c, keyboard_body); }},
        {"mouse", mouse_body},
        {"mouse_side", [](QPainter &p, const QRectF &a, const QColor &c) {
             QPainterPath shape;
             shape.moveTo(a.left() + a.width() * 0.05, a.bottom() - a.height() * 0.1);
             shape.cubicTo(a.left(), a.top(), a.right(), a.top(), a.right() - a.width() * 0.05, a.bottom() - a.height() * 0.1);
             shape.closeSubpath();
             p.setPen(QPen(c.lighter(140), 3));
             p.setBrush(c.darker(250));
             p.drawPath(shape);
         }},
        {"keyboard", keyboard_body},
        {"ring", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.setPen(QPen(c, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(square_in(a, 0.8));
         }},
        {"ring_dot", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.setPen(QPen(c, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(square_in(a, 0.8));
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawEllipse(square_in(a, 0.4));
         }},
        {"ring_slash", [](QPainter &p, const QRectF &a, const QColor &c) {
             const QRectF box = square_in(a, 0.8);
             p.setPen(QPen(c, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(box);
             p.drawLine(box.topRight(), box.bottomLeft());
         }},
        {"tab_buttons", [](QPainter &p, const QRectF &a, const QColor &c) { tab(p, a, c, buttons_glyph); }},
        {"tab_device", [](QPainter &p, const QRectF &a, const QColor &c) { tab(p, a, c, gear); }},
        {"tab_leds", [](QPainter &p, const QRectF &a, const QColor &c) {
             tab(p, a, c, [](QPainter &q, const QRectF &b, const QColor &colour) {
                 q.setPen(Qt::NoPen);
                 q.setBrush(colour);
                 q.drawEllipse(square_in(b, 0.5));
                 q.setPen(pen_of(colour, b));
                 for (int i = 0; i < 8; ++i) {
                     const qreal angle = i * M_PI / 4;
                     q.drawPoint(b.center() + QPointF(qCos(angle), qSin(angle)) * b.width() * 0.45);
                 }
             });
         }},
        {"tab_pointer", [](QPainter &p, const QRectF &a, const QColor &c) {
             tab(p, a, c, [](QPainter &q, const QRectF &b, const QColor &colour) {
                 q.setPen(Qt::NoPen);
                 q.setBrush(colour);
                 q.drawPolygon(QPolygonF({b.topLeft(), QPointF(b.left(), b.bottom()),
                                          QPointF(b.left() + b.width() * 0.3, b.top() + b.height() * 0.7),
                                          QPointF(b.right(), b.top() + b.height() * 0.65)}));
             });
         }},
        {"sun", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawEllipse(square_in(a, 0.5));
         }},
        {"wave", [](QPainter &p, const QRectF &a, const QColor &c) {
             QPainterPath path(QPointF(a.left(), a.center().y()));
             path.cubicTo(QPointF(a.left() + a.width() * 0.25, a.top()), QPointF(a.left() + a.width() * 0.25, a.bottom()),
                          a.center());
             path.cubicTo(QPointF(a.right() - a.width() * 0.25, a.top()), QPointF(a.right() - a.width() * 0.25, a.bottom()),
                          QPointF(a.right(), a.center().y()));
             p.setPen(QPen(c, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawPath(path);
         }},
        {"target", [](QPainter &p, const QRectF &a, const QColor &c) {
             const QRectF box = square_in(a, 0.85);
             p.setPen(QPen(c, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(square_in(box, 0.7));
             p.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
             p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
         }},
        {"bolt", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawPolygon(QPolygonF({QPointF(a.width() * 0.6, 0), QPointF(a.width() * 0.2, a.height() * 0.55),
                                      QPointF(a.width() * 0.5, a.height() * 0.55), QPointF(a.width() * 0.35, a.height()),
                                      QPointF(a.width() * 0.8, a.height() * 0.4), QPointF(a.width() * 0.5, a.height() * 0.4)}));
         }},
        {"loop", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.setPen(QPen(c, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawArc(square_in(a, 0.75), 30 * 16, 300 * 16);
         }},
        {"clock", [](QPainter &p, const QRectF &a, const QColor &c) {
             const QRectF box = square_in(a, 0.8);
             p.setPen(QPen(c, 1.5));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(box);
             p.drawPolyline(QPolygonF({QPointF(box.center().x(), box.top() + 3), box.center(),
                                       QPointF(box.right() - 3, box.center().y())}));
         }},
        {"swap", [](QPainter &p, const QRectF &a, const QColor &c) {
             chevron(p, QRectF(a.left(), a.top(), a.width() / 2, a.height()), c, false);
             chevron(p, QRectF(a.center().x(), a.top(), a.width() / 2, a.height()), c, true);
         }},
        {"ticks", [](QPainter &p, const QRectF &a, const QColor &c) {
             p.setPen(QPen(c, 1));
             for (int i = 0; i <= 10; ++i) {
                 const qreal x = a.left() + 0.5 + (a.width() - 1) * i / 10;
                 p.drawLine(QPointF(x, a.top()), QPointF(x, i % 5 == 0 ? a.bottom() : a.center().y()));
             }
         }},
        {"warning", [](QPainter &p, const QRectF &a, const QColor &c) {
             const QRectF box = square_in(a, 0.9);
             p.setPen(Qt::NoPen);
             p.setBrush(c);
             p.drawPolygon(QPolygonF({QPointF(box.center().x(), box.top()), box.bottomRight(), box.bottomLeft()}));
             p.setBrush(QColor(40, 40, 40));
             p.drawRect(QRectF(box.center().x() - 2, box.top() + box.height() * 0.35, 4, box.height() * 0.35));
             p.drawEllipse(QRectF(box.center().x() - 2, box.bottom() - box.height() * 0.2, 4, 4));
         }},
    };
    return table;
}

} // namespace

bool draw_image(const QString &drawing, const QColor &colour, QImage *image)
{
    const auto it = drawings().find(drawing);
    if (it == drawings().end())
        return false;
    image->fill(Qt::transparent);
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing);
    (*it)(painter, QRectF(image->rect()), colour);
    return true;
}
