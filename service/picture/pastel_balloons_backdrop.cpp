// Design 4, "我喜欢你": soft pastel colours with heart balloons at both sides.
#include <QLinearGradient>

#include "service/picture/greeting_design.h"
#include "service/picture/shapes.h"

namespace {

void PaintBalloon(QPainter& painter, QPointF centre, qreal width, const QColor& colour, qreal sway)
{
    const QPointF tip = centre + QPointF(0, width * 0.46);
    QPainterPath string;
    string.moveTo(tip);
    string.cubicTo(tip + QPointF(sway, 50), tip + QPointF(-sway, 90), tip + QPointF(sway * 0.5, kPictureHeight));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(120, 120, 150, 150), 1.4));
    painter.drawPath(string);

    QLinearGradient fill(centre + QPointF(-width / 2, -width / 2), centre + QPointF(width / 2, width / 2));
    fill.setColorAt(0.0, colour.lighter(118));
    fill.setColorAt(1.0, colour.darker(108));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(HeartPath(centre, width));
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawEllipse(centre + QPointF(-width * 0.24, -width * 0.22), width * 0.08, width * 0.05);
}

}  // namespace

void PaintPastelBalloonsBackdrop(QPainter& painter)
{
    QLinearGradient sky(0, 0, kPictureWidth, 0);
    sky.setColorAt(0.0, QColor(253, 226, 228));
    sky.setColorAt(0.5, QColor(246, 240, 236));
    sky.setColorAt(1.0, QColor(205, 218, 253));
    painter.fillRect(QRectF(0, 0, kPictureWidth, kPictureHeight), sky);

    // Soft round light spots.
    PaintScatteredDots(painter, 77777u, 14, 14, 46, Qt::white, 50, 110);

    PaintBalloon(painter, QPointF(70, 92), 74, QColor(255, 143, 171), 10);
    PaintBalloon(painter, QPointF(128, 54), 48, QColor(255, 198, 255), -8);
    PaintBalloon(painter, QPointF(40, 176), 40, QColor(255, 214, 165), 6);
    PaintBalloon(painter, QPointF(680, 84), 76, QColor(160, 196, 255), -10);
    PaintBalloon(painter, QPointF(626, 46), 44, QColor(255, 173, 173), 8);
    PaintBalloon(painter, QPointF(716, 178), 42, QColor(189, 224, 254), -6);
}
