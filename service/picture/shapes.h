// Vector ornaments shared by the picture designs.
#pragma once

#include <QPainterPath>
#include <QPointF>

// A heart of the given width centred on `centre`; it is about 0.95 times as tall as wide.
QPainterPath HeartPath(QPointF centre, qreal width);

// A four-pointed sparkle with the given outer radius.
QPainterPath SparklePath(QPointF centre, qreal radius);
