#pragma once
// JPEG pictures for the results board, decoded through libjpeg.
#include <QByteArray>
#include <QImage>
#include <QSize>

// A picture is for the board's screen (a full-HD one when none is given): one that declares more than
// this many times the screen's pixels is left out, read no further than its header, since a few bytes may
// declare a picture of gigabytes.
inline constexpr qint64 MaxJpegScreens = 16;
// The most pixels and file bytes a picture for that screen may have.
qint64 MaxJpegPixels(QSize screen);
qint64 MaxJpegFileBytes(QSize screen);

// The picture in bytes, or a null image when they are no whole JPEG picture (damaged, cut short, another
// format) or a picture too large for the screen; a fault never goes further than that, and the decoder's
// memory is bounded by the largest picture taken. The picture is decoded at a fraction of its own size
// (1/2, 1/4 or 1/8) when it still covers the screen.
QImage DecodeJpeg(const QByteArray& bytes, QSize screen = {});
