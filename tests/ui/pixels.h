// Pixel counting over rendered images.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

template <class F>
int CountWhere(const QImage& Image, const QRect& Area, F Test) {
  int N = 0;
  for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
    for (int X = Area.left(); X <= Area.right(); ++X) N += Test(QColor(Image.pixel(X, Y)));
  return N;
}

// Pixels of exactly this opaque colour.
inline int CountColor(const QImage& Image, const QRect& Area, QRgb Color) {
  return CountWhere(Image, Area, [Color](QColor C) { return (C.rgb() | 0xFF000000) == Color; });
}
