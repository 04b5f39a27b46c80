// The picture box: keeps the picture bytes it is given and draws them.
#pragma once

#include <QWidget>

#include "encoding/text.h"

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Keeps a copy of the bytes, whatever they hold, and asks for a repaint.
    void WritePicture(const ByteSet& bytes);
    // Exactly the bytes last written; empty when none were.
    ByteSet ReadPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ByteSet stored_;
};
