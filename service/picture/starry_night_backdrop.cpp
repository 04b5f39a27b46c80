// Design 3, "我爱你": a night sky with stars and one large glowing heart.
#include <QLinearGradient>
#include <QRadialGradient>

#include "service/picture/greeting_design.h"
#include "service/picture/shapes.h"

void PaintStarryNightBackdrop(QPainter& painter)
{
    QLinearGradient sky(0, 0, kPictureWidth, kPictureHeight);
    sky.setColorAt(0.0, QColor(16, 18, 52));
    sky.setColorAt(0.6, QColor(52, 28, 96));
    sky.setColorAt(1.0, QColor(96, 30, 104));
    painter.fillRect(QRectF(0, 0, kPictureWidth, kPictureHeight), sky);

    PaintScatteredDots(painter, 1314520u, 70, 0.6, 2.0, Qt::white, 90, 230);
    painter.setBrush(QColor(255, 255, 255, 220));
    for (const QPointF& at : {QPointF(70, 36), QPointF(486, 250), QPointF(520, 40), QPointF(730, 258)}) {
        painter.drawPath(SparklePath(at, 8));
    }

    const QPointF centre(622, 148);
    QRadialGradient halo(centre, 150);
    halo.setColorAt(0.0, QColor(255, 64, 129, 120));
    halo.setColorAt(1.0, QColor(255, 64, 129, 0));
    painter.setBrush(halo);
    painter.drawEllipse(centre, 150, 150);

    QRadialGradient heart(centre + QPointF(-40, -45), 170);
    heart.setColorAt(0.0, QColor(255, 168, 190));
    heart.setColorAt(0.45, QColor(240, 30, 90));
    heart.setColorAt(1.0, QColor(150, 8, 60));
    painter.setBrush(heart);
    painter.setPen(QPen(QColor(255, 220, 230, 180), 2));
    painter.drawPath(HeartPath(centre, 200));

    // A gloss on the left lobe.
    painter.setPen(QPen(QColor(255, 255, 255, 170), 5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(centre.x() - 82, centre.y() - 84, 70, 70), 95 * 16, 60 * 16);
}
