#include "geomio/wkt_reader.h"

#include <cctype>
#include <string>
#include <vector>

#include "geomio/input_error.h"
#include "geomio/number_text.h"
#include "geomio/part_builder.h"

namespace geomio {

namespace {

constexpr int MaxDepth = 64;

class TWktParser {
 public:
  TWktParser(std::string_view AText, geo::TContour& AContour) : Text(AText), Contour(AContour) {}

  void Run() {
    SkipSpace();
    // An EWKT spatial reference prefix says nothing about the shape.
    if (Text.size() - Pos > 5 && Upper(Text.substr(Pos, 5)) == "SRID=") {
      const size_t Semi = Text.find(';', Pos);
      if (Semi == std::string_view::npos) Fail("WKT: SRID= without ';'");
      Pos = Semi + 1;
    }
    Geometry(0);
    SkipSpace();
    if (Pos < Text.size()) Fail("WKT: unexpected text after the geometry: " + Found());
  }
  bool DroppedZM = false;

 private:
  [[noreturn]] void Fail(const std::string& What) const {
    throw EInputError(What + " (column " + std::to_string(Pos + 1) + ")");
  }

  static std::string Upper(std::string_view S) {
    std::string U(S);
    for (char& C : U) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    return U;
  }

  std::string Found() const {
    if (Pos >= Text.size()) return "the end of the line";
    size_t End = Pos + 1;
    while (End < Text.size() && End < Pos + 12 &&
           std::isalnum(static_cast<unsigned char>(Text[End])))
      ++End;
    return QuotedInput(Text.substr(Pos, End - Pos));
  }

  void SkipSpace() {
    while (Pos < Text.size() && std::isspace(static_cast<unsigned char>(Text[Pos]))) ++Pos;
  }

  bool Peek(char C) {
    SkipSpace();
    return Pos < Text.size() && Text[Pos] == C;
  }

  void Expect(char C) {
    if (!Peek(C)) Fail(std::string("WKT: expected '") + C + "', found " + Found());
    ++Pos;
  }

  // True after ',' (and consumes it); False at ')' (consumed as well).
  bool MoreItems() {
    SkipSpace();
    if (Peek(',')) {
      ++Pos;
      return true;
    }
    if (Peek(')')) {
      ++Pos;
      return false;
    }
    Fail("WKT: expected ',' or ')', found " + Found());
  }

  // A keyword, upper-cased; empty when the next token is not a word.
  std::string Word() {
    SkipSpace();
    const size_t Begin = Pos;
    while (Pos < Text.size() && std::isalpha(static_cast<unsigned char>(Text[Pos]))) ++Pos;
    return Upper(Text.substr(Begin, Pos - Begin));
  }

  // Optional Z / M / ZM, then EMPTY or nothing. True when EMPTY.
  bool DimensionAndEmpty() {
    const size_t Save = Pos;
    std::string W = Word();
    if (W == "Z" || W == "M" || W == "ZM") {
      const size_t Save2 = Pos;
      W = Word();
      if (W != "EMPTY") Pos = Save2;
      return W == "EMPTY";
    }
    if (W == "EMPTY") return true;
    Pos = Save;
    return false;
  }

  // EMPTY as an item of a list: an empty ring, line or polygon adds nothing.
  bool EmptyItem() {
    const size_t Save = Pos;
    if (Word() == "EMPTY") return true;
    Pos = Save;
    return false;
  }

  double Number() {
    SkipSpace();
    const size_t Begin = Pos;
    while (Pos < Text.size()) {
      const char C = Text[Pos];
      if (!(std::isdigit(static_cast<unsigned char>(C)) || C == '.' || C == '-' || C == '+' ||
            C == 'e' || C == 'E'))
        break;
      ++Pos;
    }
    double V = 0;
    if (Begin == Pos) Fail("WKT: expected a coordinate, found " + Found());
    if (!ParseNumber(Text.substr(Begin, Pos - Begin), V)) {
      const std::string Bad(Text.substr(Begin, Pos - Begin));
      Pos = Begin;
      Fail("WKT: '" + Bad + "' is not a finite number");
    }
    return V;
  }

  // x y, with up to two more ordinates that are dropped.
  geo::TDPoint Point() {
    geo::TDPoint P;
    P.X = Number();
    P.Y = Number();
    for (int i = 0; i < 2; ++i) {
      SkipSpace();
      if (Pos >= Text.size() || Text[Pos] == ',' || Text[Pos] == ')') break;
      Number();
      DroppedZM = true;
    }
    return P;
  }

  std::vector<geo::TDPoint> PointList() {
    Expect('(');
    std::vector<geo::TDPoint> Points;
    do {
      Points.push_back(Point());
    } while (MoreItems());
    return Points;
  }

  void LinePoints(TPartBuilder& B) {
    SkipSpace();
    const size_t At = Pos;
    const std::vector<geo::TDPoint> Points = PointList();
    Build(At, [&] { B.StartOrJoin(Points[0]); });
    for (size_t i = 1; i < Points.size(); ++i) B.LineTo(Points[i]);
  }

  void ArcPoints(TPartBuilder& B) {
    SkipSpace();
    const size_t At = Pos;
    const std::vector<geo::TDPoint> Points = PointList();
    if (Points.size() < 3 || Points.size() % 2 == 0) {
      Pos = At;
      Fail("WKT: a CIRCULARSTRING needs an odd number of points, at least 3 (has " +
           std::to_string(Points.size()) + ")");
    }
    Build(At, [&] { B.StartOrJoin(Points[0]); });
    Build(At, [&] {
      for (size_t i = 1; i + 1 < Points.size(); i += 2) B.ArcTo(Points[i], Points[i + 1]);
    });
  }

  // A curve: a bare point list, LINESTRING, CIRCULARSTRING or COMPOUNDCURVE,
  // added to B (started or continued). False for an empty curve.
  bool Curve(TPartBuilder& B, bool AllowCompound) {
    if (Peek('(')) {
      LinePoints(B);
      return true;
    }
    if (EmptyItem()) return false;
    const size_t At = Pos;
    const std::string W = Word();
    if (DimensionAndEmpty()) return false;
    if (W == "LINESTRING") {
      LinePoints(B);
    } else if (W == "CIRCULARSTRING") {
      ArcPoints(B);
    } else if (W == "COMPOUNDCURVE" && AllowCompound) {
      Expect('(');
      do {
        Curve(B, false);
      } while (MoreItems());
    } else {
      Pos = At;
      Fail("WKT: expected a curve, found " + Found());
    }
    return true;
  }

  // Runs a builder step; its complaint is reported at column At.
  template <class TStep>
  void Build(size_t At, TStep Step) {
    try {
      Step();
    } catch (const EInputError& E) {
      Pos = At;
      Fail("WKT: " + E.Text);
    }
  }

  void Ring(bool Curved) {
    SkipSpace();
    const size_t At = Pos;
    TPartBuilder B;
    if (Curved) {
      if (!Curve(B, true)) return;
    } else {
      if (EmptyItem()) return;
      LinePoints(B);
    }
    Build(At, [&] { B.EndRing(Contour); });
  }

  void Open(TPartBuilder& B, size_t At) {
    Build(At, [&] { B.EndOpen(Contour); });
  }

  void RingList(bool Curved) {
    Expect('(');
    do {
      Ring(Curved);
    } while (MoreItems());
  }

  void Geometry(int Depth) {
    if (Depth > MaxDepth) Fail("WKT: collections nested too deeply");
    SkipSpace();
    const size_t At = Pos;
    const std::string W = Word();
    if (W.empty()) Fail("WKT: expected a geometry type, found " + Found());
    if (W == "POINT" || W == "MULTIPOINT") {
      Pos = At;
      Fail("WKT: " + W + " is not a contour (use lines or areas)");
    }
    static const char* const Known[] = {
        "LINESTRING",      "CIRCULARSTRING", "COMPOUNDCURVE", "POLYGON",      "CURVEPOLYGON",
        "MULTILINESTRING", "MULTICURVE",     "MULTIPOLYGON",  "MULTISURFACE", "GEOMETRYCOLLECTION"};
    bool IsKnown = false;
    for (const char* K : Known) IsKnown = IsKnown || W == K;
    if (!IsKnown) {
      Pos = At;
      Fail("WKT: unknown geometry type " + Found());
    }
    if (W == "LINESTRING" || W == "CIRCULARSTRING" || W == "COMPOUNDCURVE") {
      Pos = At;
      TPartBuilder B;
      if (Curve(B, true)) Open(B, At);
      return;
    }
    if (DimensionAndEmpty()) return;
    if (W == "POLYGON" || W == "CURVEPOLYGON") {
      RingList(W == "CURVEPOLYGON");
    } else if (W == "MULTILINESTRING" || W == "MULTICURVE") {
      Expect('(');
      do {
        if (EmptyItem()) continue;
        const size_t PartAt = Pos;
        TPartBuilder B;
        if (W == "MULTILINESTRING") {
          LinePoints(B);
          Open(B, PartAt);
        } else if (Curve(B, true)) {
          Open(B, PartAt);
        }
      } while (MoreItems());
    } else if (W == "MULTIPOLYGON" || W == "MULTISURFACE") {
      Expect('(');
      do {
        if (EmptyItem()) continue;
        if (Peek('(')) {
          RingList(false);
          continue;
        }
        const size_t SurfAt = Pos;
        const std::string S = Word();
        if (W == "MULTISURFACE" && (S == "POLYGON" || S == "CURVEPOLYGON")) {
          if (!DimensionAndEmpty()) RingList(S == "CURVEPOLYGON");
        } else {
          Pos = SurfAt;
          Fail("WKT: expected a polygon, found " + Found());
        }
      } while (MoreItems());
    } else {  // GEOMETRYCOLLECTION
      Expect('(');
      do {
        Geometry(Depth + 1);
      } while (MoreItems());
    }
  }

  std::string_view Text;
  size_t Pos = 0;
  geo::TContour& Contour;
};

}  // namespace

void ReadWkt(std::string_view Text, geo::TContour& Contour, bool* DroppedZM) {
  geo::TContour Parsed;
  TWktParser Parser(Text, Parsed);
  Parser.Run();
  if (DroppedZM) *DroppedZM = Parser.DroppedZM;
  // Only a whole geometry reaches the caller.
  AppendCommands(Contour, Parsed);
}

}  // namespace geomio
