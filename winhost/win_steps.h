// The test host's journey as a list of named steps, run in order and each
// printed; the first that fails stops the run, printing the step, its
// HRESULT and the host's last error text.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace winhost {

class EStepFailed : public std::exception {
 public:
  EStepFailed(HRESULT ACode, std::string AText) : Code(ACode), Text(std::move(AText)) {}
  const char* what() const noexcept override { return Text.c_str(); }
  HRESULT Code;
  std::string Text;
};

struct TStep {
  std::string Name;
  std::function<void()> Run;
};
using TSteps = std::vector<TStep>;

// Raises EStepFailed when Code is a failure.
void Check(HRESULT Code, const std::string& What);
// Raises EStepFailed with E_UNEXPECTED when Condition does not hold.
void Require(bool Condition, const std::string& What);
// Raises EStepFailed when Code differs from Expected.
void Expect(HRESULT Code, HRESULT Expected, const std::string& What);

// Puts New right after the step named After; raises std::logic_error when
// there is none.
void InsertSteps(TSteps& Steps, const std::string& After, TSteps New);

// Runs Steps; on a failure prints it with LastError() (the host's last
// error, "" for none) and runs Cleanup, each step's failure ignored.
// Returns the process's exit code: 0 when every step passed.
int RunSteps(const TSteps& Steps, const TSteps& Cleanup,
             const std::function<std::string()>& LastError);

}  // namespace winhost
