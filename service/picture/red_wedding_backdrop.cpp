// Design 2, "来娶我吧": wedding red with a gold frame, corner scrolls and two
// joined hearts on the right.
#include <QLinearGradient>
#include <QRadialGradient>

#include "service/picture/greeting_design.h"
#include "service/picture/scatter.h"
#include "service/picture/shapes.h"

namespace {

const QColor kGold(242, 201, 76);

// Two arcs curling into the corner at `corner`, mirrored by (dx, dy).
void PaintCornerScroll(QPainter& painter, QPointF corner, qreal dx, qreal dy)
{
    QPainterPath scroll;
    scroll.moveTo(corner + QPointF(dx * 46, 0));
    scroll.quadTo(corner, corner + QPointF(0, dy * 46));
    scroll.moveTo(corner + QPointF(dx * 30, dy * 8));
    scroll.quadTo(corner + QPointF(dx * 8, dy * 8), corner + QPointF(dx * 8, dy * 30));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kGold, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(scroll);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGold);
    painter.drawEllipse(corner + QPointF(dx * 14, dy * 14), 3.5, 3.5);
}

void PaintHeart(QPainter& painter, QPointF centre, qreal width, const QColor& light, const QColor& dark)
{
    QRadialGradient fill(centre + QPointF(-width * 0.18, -width * 0.2), width * 0.75);
    fill.setColorAt(0.0, light);
    fill.setColorAt(1.0, dark);
    painter.setBrush(fill);
    painter.setPen(QPen(kGold, 3));
    painter.drawPath(HeartPath(centre, width));
}

}  // namespace

void PaintRedWeddingBackdrop(QPainter& painter)
{
    QRadialGradient red(QPointF(300, 130), 520);
    red.setColorAt(0.0, QColor(222, 34, 44));
    red.setColorAt(1.0, QColor(128, 8, 18));
    painter.fillRect(QRectF(0, 0, kPictureWidth, kPictureHeight), red);

    // Faint gold dust.
    Scatter scatter(5201314u);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        const QPointF at = scatter.NextPoint(QRectF(20, 20, kPictureWidth - 40, kPictureHeight - 40));
        painter.setBrush(QColor(255, 215, 120, static_cast<int>(scatter.Next(40, 110))));
        const qreal rx = scatter.Next(1, 2.6);
        const qreal ry = scatter.Next(1, 2.6);
        painter.drawEllipse(at, rx, ry);
    }

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kGold, 3));
    painter.drawRoundedRect(QRectF(12, 12, kPictureWidth - 24, kPictureHeight - 24), 10, 10);
    painter.setPen(QPen(QColor(242, 201, 76, 160), 1));
    painter.drawRoundedRect(QRectF(20, 20, kPictureWidth - 40, kPictureHeight - 40), 6, 6);
    PaintCornerScroll(painter, QPointF(28, 28), 1, 1);
    PaintCornerScroll(painter, QPointF(kPictureWidth - 28, 28), -1, 1);
    PaintCornerScroll(painter, QPointF(28, kPictureHeight - 28), 1, -1);
    PaintCornerScroll(painter, QPointF(kPictureWidth - 28, kPictureHeight - 28), -1, -1);

    PaintHeart(painter, QPointF(630, 138), 118, QColor(255, 236, 170), QColor(214, 150, 30));
    PaintHeart(painter, QPointF(678, 182), 82, QColor(255, 120, 120), QColor(190, 16, 32));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 246, 210, 230));
    painter.drawPath(SparklePath(QPointF(586, 84), 10));
    painter.drawPath(SparklePath(QPointF(712, 118), 7));
}
