#include "app/picture_box.h"

#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void PictureBox::WritePicture(const ByteSet& bytes)
{
    stored_ = bytes;
    update();
}

ByteSet PictureBox::ReadPicture() const
{
    return stored_;
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
}
