#include "geomio/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "addonlib/geometry/measures.h"
#include "addonlib/geometry/rect.h"
#include "geomio/contour_layout.h"
#include "geomio/number_text.h"

namespace geomio {

namespace {

constexpr double PictureWidth = 1000;  // pixels; the height follows the data

// Map coordinates relative to the view's top-left corner, so that the
// numbers stay short and north is up.
struct TView {
  double X0;
  double Y0;

  void Append(std::string& S, const geo::TDPoint& P) const {
    char Buf[64];
    std::snprintf(Buf, sizeof Buf, "%.10g %.10g", P.X - X0, Y0 - P.Y);
    S += Buf;
  }
};

std::string Escape(const std::string& Text) {
  std::string S;
  for (const char C : Text) {
    switch (C) {
      case '<':
        S += "&lt;";
        break;
      case '>':
        S += "&gt;";
        break;
      case '&':
        S += "&amp;";
        break;
      case '"':
        S += "&quot;";
        break;
      default:
        S += C;
    }
  }
  return S;
}

// Path data of the closed or the open parts of a layout.
std::string PathData(const TContourLayout& L, bool Closed, const TView& V) {
  std::string D;
  for (const TLayoutPart& Part : L.Parts) {
    if (Part.Closed != Closed) continue;
    D += D.empty() ? "M" : " M";
    V.Append(D, Part.Edges.front().P1);
    for (const geo::TEdge& E : Part.Edges) {
      if (geo::IsArc(E)) {
        // The flip turns counter-clockwise map arcs clockwise on the page,
        // which SVG calls the negative sweep.
        char Buf[80];
        std::snprintf(Buf, sizeof Buf, " A%.10g %.10g 0 %d %d ", E.Radius, E.Radius,
                      std::fabs(E.Angle) > geo::Pi ? 1 : 0, E.Angle > 0 ? 0 : 1);
        D += Buf;
      } else {
        D += " L";
      }
      V.Append(D, E.P2);
    }
    if (Closed) D += " Z";
  }
  return D;
}

void AppendItems(std::string& S, const std::vector<TSvgItem>& Items, const TView& V,
                 const char* Class) {
  S += std::string("<g class=\"") + Class + "\">\n";
  for (const TSvgItem& Item : Items) {
    const TContourLayout L = LayOutContour(*Item.Contour);
    const std::string Title = "<title>" + Escape(Item.Title) + "</title>";
    const std::string Areas = PathData(L, true, V);
    const std::string Lines = PathData(L, false, V);
    if (!Areas.empty()) S += "<path class=\"area\" d=\"" + Areas + "\">" + Title + "</path>\n";
    if (!Lines.empty()) S += "<path class=\"line\" d=\"" + Lines + "\">" + Title + "</path>\n";
  }
  S += "</g>\n";
}

}  // namespace

std::string SvgPicture(const std::vector<TSvgItem>& Inputs, const std::vector<TSvgItem>& Results) {
  bool Any = false;
  geo::TDRect Box{0, 0, 1, 1};
  for (const auto* Items : {&Inputs, &Results}) {
    for (const TSvgItem& Item : *Items) {
      geo::TDRect R;
      if (!geo::GetBounds(*Item.Contour, R)) continue;
      if (Any)
        geo::ExtendRect(Box, R);
      else
        Box = R;
      Any = true;
    }
  }
  const double Size = std::max({geo::RectWidth(Box), geo::RectHeight(Box), 1e-9});
  const double Margin = Size * 0.05;
  geo::InflateRect(Box, Margin, Margin);
  const double W = geo::RectWidth(Box);
  const double H = geo::RectHeight(Box);
  const TView V{Box.X1, Box.Y2};

  char Head[512];
  std::snprintf(Head, sizeof Head,
                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
                "viewBox=\"0 0 %.10g %.10g\">\n",
                PictureWidth, std::max(1.0, std::round(PictureWidth * H / W)), W, H);
  std::string S = Head;
  // Where the picture's (0, 0) lies on the map, for anyone reading positions off it.
  S += "<!-- view origin: x " + NumberText(Box.X1) + ", y " + NumberText(Box.Y2) +
       " (map y grows upwards) -->\n";
  S += "<style>\n"
       "path { vector-effect: non-scaling-stroke; stroke-linejoin: round; }\n"
       ".input .area { fill: #b8b8b8; fill-opacity: 0.5; fill-rule: evenodd; stroke: #555; "
       "stroke-width: 1; }\n"
       ".input .line { fill: none; stroke: #333; stroke-width: 1.5; }\n"
       ".result .area { fill: #3f7fd0; fill-opacity: 0.3; fill-rule: evenodd; stroke: #1f4f9f; "
       "stroke-width: 1.5; }\n"
       ".result .line { fill: none; stroke: #1f4f9f; stroke-width: 1.5; }\n"
       "</style>\n";
  S += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  AppendItems(S, Inputs, V, "input");
  AppendItems(S, Results, V, "result");
  return S + "</svg>\n";
}

}  // namespace geomio
