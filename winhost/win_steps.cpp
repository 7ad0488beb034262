#include "winhost/win_steps.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace winhost {

namespace {

std::string Hex(HRESULT Code) {
  char Text[16];
  std::snprintf(Text, sizeof Text, "0x%08lX", static_cast<unsigned long>(Code));
  return Text;
}

}  // namespace

void Check(HRESULT Code, const std::string& What) {
  if (FAILED(Code)) throw EStepFailed(Code, What + " failed");
}

void Require(bool Condition, const std::string& What) {
  if (!Condition) throw EStepFailed(E_UNEXPECTED, What);
}

void Expect(HRESULT Code, HRESULT Expected, const std::string& What) {
  if (Code != Expected)
    throw EStepFailed(Code, What + ": " + Hex(Code) + " where " + Hex(Expected) + " was expected");
}

void InsertSteps(TSteps& Steps, const std::string& After, TSteps New) {
  auto At =
      std::find_if(Steps.begin(), Steps.end(), [&](const TStep& S) { return S.Name == After; });
  // A renamed step must not move the new ones to the end unnoticed.
  if (At == Steps.end()) throw std::logic_error("no step named \"" + After + "\"");
  ++At;
  Steps.insert(At, std::make_move_iterator(New.begin()), std::make_move_iterator(New.end()));
}

int RunSteps(const TSteps& Steps, const TSteps& Cleanup,
             const std::function<std::string()>& LastError) {
  for (std::size_t I = 0; I < Steps.size(); ++I) {
    const TStep& S = Steps[I];
    std::printf("[%2zu] %s\n", I + 1, S.Name.c_str());
    std::fflush(stdout);
    HRESULT Code = S_OK;
    std::string Text;
    try {
      S.Run();
      continue;
    } catch (const EStepFailed& E) {
      Code = E.Code;
      Text = E.Text;
    } catch (const std::exception& E) {
      Code = E_FAIL;
      Text = E.what();
    }
    const std::string HostError = LastError();
    std::printf("FAILED at step %zu \"%s\": %s\n  HRESULT %s\n  host's last error: %s\n", I + 1,
                S.Name.c_str(), Text.c_str(), Hex(Code).c_str(),
                HostError.empty() ? "(none)" : HostError.c_str());
    std::fflush(stdout);
    for (const TStep& C : Cleanup) {
      try {
        C.Run();
      } catch (...) {
      }
    }
    return 1;
  }
  std::printf("All %zu steps passed\n", Steps.size());
  return 0;
}

}  // namespace winhost
