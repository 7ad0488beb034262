#include "tools/trace-geom/progress_line.h"

#include <cstdio>
#include <ostream>

namespace geomio {

TProgressLine::TProgressLine(std::ostream& AErr, bool AEnabled, double ADelaySeconds)
    : Err(AErr), Enabled(AEnabled), Delay(ADelaySeconds) {}

void TProgressLine::Update(const std::string& Stage, size_t Done, size_t Total) {
  if (!Enabled) return;
  const TClock::time_point Now = TClock::now();
  const double Elapsed = std::chrono::duration<double>(Now - Started).count();
  if (Elapsed < Delay) return;
  const bool Last = Total > 0 && Done >= Total;
  if (Width > 0 && !Last && Now - LastDrawn < std::chrono::milliseconds(100)) return;
  LastDrawn = Now;
  std::string Line = "trace-geom: " + Stage + " " + std::to_string(Done);
  if (Total > 0) Line += " of " + std::to_string(Total);
  char Time[32];
  std::snprintf(Time, sizeof Time, " features, %.1f s", Elapsed);
  Line += Time;
  // Pad over a longer line drawn before.
  if (Line.size() < Width) Line.append(Width - Line.size(), ' ');
  Width = Line.size();
  Err << '\r' << Line << std::flush;
}

void TProgressLine::Finish() {
  if (Width == 0) return;
  Err << '\r' << std::string(Width, ' ') << '\r' << std::flush;
  Width = 0;
}

}  // namespace geomio
