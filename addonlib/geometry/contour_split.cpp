#include "addonlib/geometry/contour_split.h"

#include <cmath>
#include <cstdint>

#include "core/exception.h"

namespace geo {

namespace {

// The rule of IsValidPart on a part of Count commands beginning with First[0..2].
bool ValidPartRule(int32_t Count, const TComplexCommand* First) {
  if (Count < 3) return false;
  if (IsCloseKind(First[0].Kind)) throw core::Exception("Первая команда 'Замкнуть'");
  if (Count > 3) return true;
  const TComplexCommand& Piece = First[1];
  const TComplexCommand& Close = First[2];
  if (Piece.Kind == ccLineTo) return Close.Kind != ccClose;
  if (Piece.Kind == ccArcTo)
    return !(Close.Kind == ccCloseArc && std::fabs(Piece.Convexity + Close.Convexity) < 1E-9);
  return false;
}

std::unique_ptr<TContour> ContourOf(const std::vector<TComplexCommand>& Cmds) {
  auto C = std::make_unique<TContour>();
  for (const TComplexCommand& Cmd : Cmds) C->AddCommand(Cmd);
  return C;
}

// Vertices of the current path, found again within the point tolerance.
// Cells are twice the tolerance wide, so a match lies in the probe's cell or
// a neighbour. Entries of vertices cut away into loops stay in the table and
// are recognised as dead.
class TVertexGrid {
 public:
  explicit TVertexGrid(size_t N) {
    size_t Size = 16;
    while (Size < 2 * N) Size *= 2;
    Slots.assign(Size, Slot{0, 0, -1, false});
    Entries.reserve(N);
  }

  void Insert(const TDPoint& P, int32_t Pos, int32_t Orig) {
    Slot& S = Claim(Cell(P.X), Cell(P.Y));
    Entries.push_back(Entry{Pos, Orig, S.Head});
    S.Head = static_cast<int32_t>(Entries.size() - 1);
  }

  // Smallest live path position whose vertex is the same point as P, or -1.
  template <class IsLive, class PointAt>
  int32_t FindFirst(const TDPoint& P, IsLive Live, PointAt At) {
    const int64_t CX = Cell(P.X), CY = Cell(P.Y);
    int32_t Best = -1;
    for (int64_t DX = -1; DX <= 1; ++DX)
      for (int64_t DY = -1; DY <= 1; ++DY)
        if (const Slot* S = Lookup(CX + DX, CY + DY))
          for (int32_t E = S->Head; E >= 0; E = Entries[static_cast<size_t>(E)].Next) {
            const Entry& En = Entries[static_cast<size_t>(E)];
            if ((Best < 0 || En.Pos < Best) && Live(En.Pos, En.Orig) && SamePoint(At(En.Pos), P))
              Best = En.Pos;
          }
    return Best;
  }

 private:
  struct Slot {
    int64_t X, Y;
    int32_t Head;
    bool Used;
  };
  struct Entry {
    int32_t Pos, Orig, Next;
  };

  static int64_t Cell(double V) {
    long double Q = std::floor(static_cast<long double>(V) / (2 * PointTolerance));
    if (!(Q > -4E18L)) Q = -4E18L;
    if (!(Q < 4E18L)) Q = 4E18L;
    return static_cast<int64_t>(Q);
  }

  static size_t Hash(int64_t X, int64_t Y) {
    const uint64_t H = static_cast<uint64_t>(X) * 0x9E3779B97F4A7C15ull ^
                       (static_cast<uint64_t>(Y) + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
    return static_cast<size_t>(H ^ (H >> 29));
  }

  // The slot of a cell, or null. The table holds at most one cell per
  // vertex and has twice as many slots, so probing always ends.
  const Slot* Lookup(int64_t X, int64_t Y) const {
    const size_t Mask = Slots.size() - 1;
    for (size_t I = Hash(X, Y) & Mask;; I = (I + 1) & Mask) {
      const Slot& S = Slots[I];
      if (!S.Used) return nullptr;
      if (S.X == X && S.Y == Y) return &S;
    }
  }

  Slot& Claim(int64_t X, int64_t Y) {
    const size_t Mask = Slots.size() - 1;
    for (size_t I = Hash(X, Y) & Mask;; I = (I + 1) & Mask) {
      Slot& S = Slots[I];
      if (!S.Used) {
        S = Slot{X, Y, -1, true};
        return S;
      }
      if (S.X == X && S.Y == Y) return S;
    }
  }

  std::vector<Slot> Slots;
  std::vector<Entry> Entries;
};

}  // namespace

bool IsValidPart(const TContour& Part) {
  const int32_t N = Part.CommandCount();
  if (N < 3) return false;
  const TComplexCommand First[3] = {Part.GetCommand(0), Part.GetCommand(1), Part.GetCommand(2)};
  return ValidPartRule(N, First);
}

void SplitIntoParts(const TContour& Contour, TContourList& List) {
  std::unique_ptr<TContour> Cur;
  TDPoint Start{0, 0};
  for (int32_t I = 0; I < Contour.CommandCount(); ++I) {
    const TComplexCommand Cmd = Contour.GetCommand(I);
    if (Cmd.Kind == ccMoveTo) {
      if (Cur) List.push_back(std::move(Cur));
      Start = Cmd.Point;
    } else if (I == 0 && IsPieceKind(Cmd.Kind)) {
      Start = Cmd.Point;
    }
    if (!Cur) {
      Cur = std::make_unique<TContour>();
      if (IsPieceKind(Cmd.Kind)) Cur->AddMoveTo(Start);
    }
    Cur->AddCommand(Cmd);
    if (IsCloseKind(Cmd.Kind)) List.push_back(std::move(Cur));
  }
  if (Cur) List.push_back(std::move(Cur));
}

void SplitLoops(const TContour& Part, TContourList& List) {
  const int32_t N = Part.CommandCount();
  std::vector<TComplexCommand> Cmds(static_cast<size_t>(N));
  for (int32_t I = 0; I < N; ++I) Cmds[static_cast<size_t>(I)] = Part.GetCommand(I);
  if (N > 0 && IsPieceKind(Cmds[0].Kind)) Cmds[0] = MakeMoveTo(Cmds[0].Point);
  if (N < 3 || !ValidPartRule(N, Cmds.data())) return;

  // The current part is Path followed by the unread commands; cutting a loop
  // only shortens Path, so the walk never restarts.
  std::vector<TComplexCommand> Path;
  std::vector<int32_t> Orig;
  Path.reserve(static_cast<size_t>(N));
  Orig.reserve(static_cast<size_t>(N));
  TVertexGrid Grid(static_cast<size_t>(N));
  auto Live = [&](int32_t Pos, int32_t O) {
    return static_cast<size_t>(Pos) < Path.size() && Orig[static_cast<size_t>(Pos)] == O;
  };
  auto At = [&](int32_t Pos) { return Path[static_cast<size_t>(Pos)].Point; };
  for (int32_t I = 0; I < N; ++I) {
    const TComplexCommand& Cmd = Cmds[static_cast<size_t>(I)];
    if (IsCloseKind(Cmd.Kind)) {
      if (I != N - 1) throw core::Exception("Команда Замкнуть не является последней командой");
      Path.push_back(Cmd);
      Orig.push_back(I);
      continue;
    }
    const int32_t J = Grid.FindFirst(Cmd.Point, Live, At);
    if (J < 0) {
      Grid.Insert(Cmd.Point, static_cast<int32_t>(Path.size()), I);
      Path.push_back(Cmd);
      Orig.push_back(I);
      continue;
    }
    auto Loop = std::make_unique<TContour>();
    Loop->AddMoveTo(Path[static_cast<size_t>(J)].Point);
    for (size_t P = static_cast<size_t>(J) + 1; P < Path.size(); ++P) Loop->AddCommand(Path[P]);
    Loop->AddCommand(MakeCloseByCommand(Cmd));
    Path.resize(static_cast<size_t>(J) + 1);
    Orig.resize(static_cast<size_t>(J) + 1);
    if (IsValidPart(*Loop)) List.push_back(std::move(Loop));
    // The rest: Path, then the commands after I.
    const size_t Rest = Path.size() + static_cast<size_t>(N - 1 - I);
    TComplexCommand First[3];
    for (size_t K = 0; K < 3 && K < Rest; ++K)
      First[K] = K < Path.size() ? Path[K] : Cmds[static_cast<size_t>(I) + 1 + K - Path.size()];
    if (Rest < 3 || !ValidPartRule(static_cast<int32_t>(Rest), First)) return;
  }
  List.push_back(ContourOf(Path));
}

void SplitContour(const TContour& Contour, TContourList& List) {
  TContourList Parts;
  SplitIntoParts(Contour, Parts);
  for (const auto& Part : Parts) SplitLoops(*Part, List);
}

}  // namespace geo
