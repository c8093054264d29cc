#pragma once
// JPEG pictures for the results board, decoded through libjpeg.
#include <QByteArray>
#include <QImage>
#include <QSize>

// The picture in bytes, or a null image when they are no whole JPEG picture (damaged, cut short, another
// format); a fault never goes further than that. With a size, the picture is decoded at a fraction of its
// own size (1/2, 1/4 or 1/8) when it still covers that size.
QImage DecodeJpeg(const QByteArray& bytes, QSize atLeast = {});
