// A progress line on standard error for long jobs: shown only when standard
// error is a terminal and the job has run past a delay, redrawn in place at
// most ten times a second, and wiped when the job ends.
#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

namespace geomio {

class TProgressLine {
 public:
  TProgressLine(std::ostream& AErr, bool AEnabled, double ADelaySeconds = 1.0);
  ~TProgressLine() { Finish(); }
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  // Stage: what is being done ("reading", "buffer"); Total 0 when unknown.
  void Update(const std::string& Stage, size_t Done, size_t Total);
  // Wipes the line if one is shown.
  void Finish();

 private:
  using TClock = std::chrono::steady_clock;
  std::ostream& Err;
  bool Enabled;
  double Delay;
  TClock::time_point Started = TClock::now();
  TClock::time_point LastDrawn{};
  size_t Width = 0;  // of the line shown, 0 when none
};

}  // namespace geomio
