// Vector ornaments shared by the picture designs.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <cstdint>

class QPainter;

// A heart of the given width centred on `centre`; it is about 0.95 times as tall as wide.
QPainterPath HeartPath(QPointF centre, qreal width);

// A four-pointed sparkle with the given outer radius.
QPainterPath SparklePath(QPointF centre, qreal radius);

// `count` round dots of `colour` scattered over the whole picture from `seed`,
// each with a radius and an opacity drawn from the given ranges.
void PaintScatteredDots(QPainter& painter, std::uint32_t seed, int count, qreal minRadius, qreal maxRadius,
                        QColor colour, int minAlpha, int maxAlpha);
