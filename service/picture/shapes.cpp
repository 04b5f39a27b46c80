#include "service/picture/shapes.h"

#include <QPainter>
#include <QTransform>

#include "service/picture/greeting_design.h"
#include "service/picture/scatter.h"

QPainterPath HeartPath(QPointF centre, qreal width)
{
    // Drawn in a unit box: lobes on top, the tip at the bottom.
    QPainterPath unit;
    unit.moveTo(0, -0.22);
    unit.cubicTo(0.0, -0.50, -0.50, -0.52, -0.50, -0.16);
    unit.cubicTo(-0.50, 0.12, -0.16, 0.28, 0, 0.46);
    unit.cubicTo(0.16, 0.28, 0.50, 0.12, 0.50, -0.16);
    unit.cubicTo(0.50, -0.52, 0.0, -0.50, 0, -0.22);
    unit.closeSubpath();
    QTransform place;
    place.translate(centre.x(), centre.y());
    place.scale(width, width);
    return place.map(unit);
}

QPainterPath SparklePath(QPointF centre, qreal radius)
{
    const qreal waist = radius * 0.18;
    QPainterPath path;
    path.moveTo(centre + QPointF(0, -radius));
    path.quadTo(centre + QPointF(waist, -waist), centre + QPointF(radius, 0));
    path.quadTo(centre + QPointF(waist, waist), centre + QPointF(0, radius));
    path.quadTo(centre + QPointF(-waist, waist), centre + QPointF(-radius, 0));
    path.quadTo(centre + QPointF(-waist, -waist), centre + QPointF(0, -radius));
    path.closeSubpath();
    return path;
}

void PaintScatteredDots(QPainter& painter, std::uint32_t seed, int count, qreal minRadius, qreal maxRadius,
                        QColor colour, int minAlpha, int maxAlpha)
{
    const QRectF picture(0, 0, kPictureWidth, kPictureHeight);
    Scatter scatter(seed);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at = scatter.NextPoint(picture);
        const qreal radius = scatter.Next(minRadius, maxRadius);
        colour.setAlpha(static_cast<int>(scatter.Next(minAlpha, maxAlpha)));
        painter.setBrush(colour);
        painter.drawEllipse(at, radius, radius);
    }
}
