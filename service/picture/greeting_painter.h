// Draws the greeting picture for a request: the design's backdrop, the name and
// the sentence, as a 752×288 image and as JPEG bytes.
#pragma once

#include <QImage>
#include <QString>

#include "encoding/text.h"
#include "service/core/picture_query.h"

// Needs a QGuiApplication (for the fonts); safe to call from several threads.
QImage PaintGreeting(const PictureRequest& request);

// PaintGreeting encoded as a baseline JPEG; the same request gives the same bytes.
ByteSet DrawGreeting(const PictureRequest& request);

// The name as it will be drawn: characters that no installed face can draw are
// left out (rather than shown as boxes), and very long names are cut, since only
// the start of them fits anyway.
QString DrawableName(const std::string& utf8);
