// Design 1, "嫁给我吧": a rose gradient, a diamond ring on the left and floating hearts.
#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>

#include "service/picture/greeting_design.h"
#include "service/picture/scatter.h"
#include "service/picture/shapes.h"

namespace {

void PaintRing(QPainter& painter, QPointF centre)
{
    // The band: a gold ellipse, seen slightly from above.
    QLinearGradient gold(centre + QPointF(-60, -40), centre + QPointF(60, 40));
    gold.setColorAt(0.0, QColor(255, 246, 200));
    gold.setColorAt(0.45, QColor(222, 170, 40));
    gold.setColorAt(0.7, QColor(255, 228, 140));
    gold.setColorAt(1.0, QColor(176, 122, 20));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(gold), 11));
    painter.drawEllipse(centre, 56, 50);
    painter.setPen(QPen(QColor(255, 255, 255, 150), 2));
    painter.drawArc(QRectF(centre.x() - 50, centre.y() - 44, 100, 88), 100 * 16, 70 * 16);

    // The setting and the stone on top.
    const QPointF top = centre + QPointF(0, -50);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gold);
    painter.drawRect(QRectF(top.x() - 12, top.y() - 12, 24, 12));
    const QPolygonF stone({top + QPointF(-26, -28), top + QPointF(26, -28), top + QPointF(34, -16),
                           top + QPointF(0, 14), top + QPointF(-34, -16)});
    QLinearGradient ice(top + QPointF(-30, -30), top + QPointF(30, 14));
    ice.setColorAt(0.0, QColor(255, 255, 255));
    ice.setColorAt(0.5, QColor(200, 236, 255));
    ice.setColorAt(1.0, QColor(140, 190, 235));
    painter.setBrush(ice);
    painter.setPen(QPen(QColor(255, 255, 255, 220), 1.5));
    painter.drawPolygon(stone);
    painter.setPen(QPen(QColor(120, 170, 220, 200), 1));
    painter.drawLine(top + QPointF(-34, -16), top + QPointF(34, -16));
    painter.drawLine(top + QPointF(-12, -28), top + QPointF(-8, -16));
    painter.drawLine(top + QPointF(12, -28), top + QPointF(8, -16));
    painter.drawLine(top + QPointF(-8, -16), top + QPointF(0, 14));
    painter.drawLine(top + QPointF(8, -16), top + QPointF(0, 14));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawPath(SparklePath(top + QPointF(30, -40), 11));
    painter.drawPath(SparklePath(top + QPointF(-36, -34), 7));
    painter.drawPath(SparklePath(centre + QPointF(58, 34), 8));
}

}  // namespace

void PaintRoseBackdrop(QPainter& painter)
{
    QLinearGradient sky(0, 0, kPictureWidth, kPictureHeight);
    sky.setColorAt(0.0, QColor(173, 20, 87));
    sky.setColorAt(0.55, QColor(236, 64, 122));
    sky.setColorAt(1.0, QColor(255, 138, 128));
    painter.fillRect(QRectF(0, 0, kPictureWidth, kPictureHeight), sky);

    QRadialGradient glow(QPointF(480, 120), 380);
    glow.setColorAt(0.0, QColor(255, 255, 255, 70));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillRect(QRectF(0, 0, kPictureWidth, kPictureHeight), glow);

    // Floating hearts, smaller and fainter towards the text.
    Scatter scatter(20240214u);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 26; ++i) {
        const QPointF centre = scatter.NextPoint(QRectF(0, 0, kPictureWidth, kPictureHeight));
        const bool nearText = centre.x() > 240;
        const qreal width = nearText ? scatter.Next(10, 22) : scatter.Next(16, 34);
        const int alpha = nearText ? static_cast<int>(scatter.Next(35, 70)) : static_cast<int>(scatter.Next(60, 120));
        painter.setBrush(QColor(255, 255, 255, alpha));
        painter.drawPath(HeartPath(centre, width));
    }

    PaintRing(painter, QPointF(122, 170));
}
