// A limit on the size of the files this process writes while it lives:
// writes past it fail as on a full disk ("File too large"), its signal ignored.
#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace support {

class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t Bytes) : FHandler(::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &FSaved);
    const rlimit Small{Bytes, FSaved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &Small);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &FSaved);
    ::signal(SIGXFSZ, FHandler);
  }

 private:
  sighandler_t FHandler;
  rlimit FSaved{};
};

}  // namespace support
