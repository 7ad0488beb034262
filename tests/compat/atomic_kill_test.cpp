// A writer killed at any moment leaves the old file or the new one, whole,
// and nothing else under the target's name or extension. Projects,
// settings, the registry and exports are all written this way.
// TRACE_SOAK=1 kills many more writers.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "compat/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(AtomicFileKill, WritersKilledAtRandomMomentsLeaveOneWholeFile) {
  // A small file first; the child then writes two large ones by turns,
  // each line numbered so that any mixture or truncation shows.
  std::string Texts[3] = {"small\n"};
  for (int T = 1; T < 3; ++T)
    for (int Line = 0; Line < 150000; ++Line)
      Texts[T] += std::to_string(T) + " " + std::to_string(Line) + "\n";
  support::TTempFolder Folder;
  const std::string Target = (Folder.Path / "project.json").string();

  // Kills fall anywhere within the first three writes of each child.
  const auto Start = std::chrono::steady_clock::now();
  compat::WriteFileAtomically(Target, Texts[1]);
  const auto Writes = std::chrono::duration_cast<std::chrono::microseconds>(
      (std::chrono::steady_clock::now() - Start) * 3);
  compat::WriteFileAtomically(Target, Texts[0]);
  const unsigned Seed = std::random_device{}();
  std::mt19937 Random(Seed);
  const int Kills = std::getenv("TRACE_SOAK") ? 1000 : 20;
  int Changed = 0, Interrupted = 0;
  std::string Before = Texts[0];
  for (int K = 0; K < Kills; ++K) {
    const pid_t Child = fork();
    ASSERT_NE(Child, -1);
    if (Child == 0) {
      try {
        for (int T = 1;; T = 3 - T) compat::WriteFileAtomically(Target, Texts[T]);
      } catch (...) {
      }
      _exit(1);
    }
    usleep(static_cast<useconds_t>(Random() % (Writes.count() + 1000)));
    kill(Child, SIGKILL);
    int Status = 0;
    ASSERT_EQ(waitpid(Child, &Status, 0), Child);
    ASSERT_TRUE(WIFSIGNALED(Status) && WTERMSIG(Status) == SIGKILL) << "the writer failed";

    const std::string Now = support::TTempFolder::Text(Target);
    ASSERT_TRUE(std::find(Texts, Texts + 3, Now) != Texts + 3)
        << "kill " << K << " (seed " << Seed << ") left " << Now.size() << " bytes";
    Changed += Now != Before;
    Before = Now;
    // A killed writer's temporary stays (nothing is left to remove it), but
    // under a name no reader takes for the file.
    for (const fs::directory_entry& E : fs::directory_iterator(Folder.Path)) {
      if (E.path() == Target) continue;
      EXPECT_NE(E.path().extension(), ".json") << E.path();
      fs::remove(E.path());
      ++Interrupted;
    }
  }
  // Otherwise every kill came before the first write ended and proved little.
  EXPECT_GT(Changed, 0) << "seed " << Seed;
  std::printf("%d kills: the file changed between %d of them, %d were mid-write\n", Kills, Changed,
              Interrupted);
}

}  // namespace
