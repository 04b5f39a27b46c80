// Deterministic pseudo-random numbers for placing small ornaments: a fixed seed
// gives the same places on every run and every machine.
#pragma once

#include <cstdint>

#include <QPointF>
#include <QRectF>
#include <QtGlobal>

class Scatter {
public:
    explicit Scatter(std::uint32_t seed) : state_(seed) {}

    // A number from low up to high.
    qreal Next(qreal low, qreal high)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<qreal>(state_ >> 8) / static_cast<qreal>(1u << 24);
    }

    // A point inside `area`, x drawn before y. (Two calls of Next in one argument
    // list would be drawn in an order each compiler picks for itself.)
    QPointF NextPoint(const QRectF& area)
    {
        const qreal x = Next(area.left(), area.right());
        const qreal y = Next(area.top(), area.bottom());
        return QPointF(x, y);
    }

private:
    std::uint32_t state_;
};
