#include "compat/gdi_styles.h"

namespace compat {

QColor ColorFromRef(std::uint32_t Color) {
  return QColor(static_cast<int>(Color & 0xFF), static_cast<int>((Color >> 8) & 0xFF),
                static_cast<int>((Color >> 16) & 0xFF));
}

std::uint32_t ColorToRef(const QColor& Color) {
  return static_cast<std::uint32_t>(Color.red()) | static_cast<std::uint32_t>(Color.green()) << 8 |
         static_cast<std::uint32_t>(Color.blue()) << 16;
}

Qt::PenStyle QtPenStyle(int Style) {
  switch (Style) {
    case 1:
      return Qt::DashLine;
    case 2:
      return Qt::DotLine;
    case 3:
      return Qt::DashDotLine;
    case 4:
      return Qt::DashDotDotLine;
    case PenStyleClear:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

Qt::BrushStyle QtHatchStyle(int Style) {
  switch (Style) {
    case 2:
      return Qt::HorPattern;
    case 3:
      return Qt::VerPattern;
    case 4:
      return Qt::FDiagPattern;  // "\", as the platform's forward diagonal hatch
    case 5:
      return Qt::BDiagPattern;
    case 6:
      return Qt::CrossPattern;
    case 7:
      return Qt::DiagCrossPattern;
    default:
      return Qt::NoBrush;
  }
}

}  // namespace compat
