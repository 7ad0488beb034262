#include "trace/engine/zone_batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "trace/engine/buffer_zone.h"

namespace trace {

namespace {

void BuildOne(const geo::TContour& Source, double Width, geo::TContour& Zone,
              const TZoneCancel& Cancel) {
  if (Width == 0)
    Zone.Assign(&Source);
  else
    BuildBufferZone(Source, Zone, Width, Cancel);
}

// Workers take the next source in order until none is left or the batch
// stops; the caller's thread meanwhile waits, waking every 20 ms to ask.
class TBatch {
 public:
  TBatch(const std::vector<const geo::TContour*>& Sources, double Width)
      : FSources(Sources), FWidth(Width), FZones(Sources.size()), FErrors(Sources.size()) {}

  bool Run(unsigned Threads, const TZoneBatchAsk& Ask, std::size_t* Failed) {
    const TZoneCancel Cancel = [this] { return FStop.load(std::memory_order_relaxed); };
    {
      std::vector<std::jthread> Pool;
      for (unsigned T = 0; T < Threads; ++T) Pool.emplace_back([this, &Cancel] { Work(Cancel); });
      std::unique_lock Lock(FMutex);
      while (FDone < FSources.size() && !FStop) {
        FWake.wait_for(Lock, std::chrono::milliseconds(20));
        const std::size_t Done = FDone;
        Lock.unlock();
        if (!Ask(Done)) FStop = true;
        Lock.lock();
      }
    }  // the workers are joined here
    // The last word is the caller's, as when the zones are built one by one.
    if (!FStop && FDone == FSources.size() && !Ask(FDone)) FStop = true;
    for (std::size_t I = 0; I < FErrors.size(); ++I)
      if (FErrors[I]) {
        if (Failed) *Failed = I;
        std::rethrow_exception(FErrors[I]);
      }
    return FDone == FSources.size() && !FStop;
  }

  std::vector<geo::TContour>& Zones() { return FZones; }

 private:
  void Work(const TZoneCancel& Cancel) {
    for (;;) {
      const std::size_t I = FNext.fetch_add(1);
      if (I >= FSources.size() || FStop) return;
      bool Ok = true;
      try {
        BuildOne(*FSources[I], FWidth, FZones[I], Cancel);
      } catch (const EZoneCancelled&) {
        Ok = false;
      } catch (...) {
        FErrors[I] = std::current_exception();
        FStop = true;
        Ok = false;
      }
      std::lock_guard Lock(FMutex);
      if (Ok) ++FDone;
      FWake.notify_one();
    }
  }

  const std::vector<const geo::TContour*>& FSources;
  const double FWidth;
  std::vector<geo::TContour> FZones;
  std::vector<std::exception_ptr> FErrors;
  std::atomic<std::size_t> FNext{0};
  std::atomic<bool> FStop{false};
  std::size_t FDone = 0;  // under FMutex
  std::mutex FMutex;
  std::condition_variable FWake;
};

}  // namespace

bool BuildBufferZones(const std::vector<const geo::TContour*>& Sources, double Width,
                      std::vector<geo::TContour>& Zones, const TZoneBatchAsk& Ask, unsigned Threads,
                      std::size_t* Failed) {
  if (Threads == 0) Threads = std::max(1u, std::thread::hardware_concurrency());
  Threads = static_cast<unsigned>(std::min<std::size_t>(Threads, Sources.size()));
  if (Threads <= 1) {
    std::vector<geo::TContour> Out(Sources.size());
    for (std::size_t I = 0; I < Sources.size(); ++I) {
      const TZoneCancel Cancel = [&] { return !Ask(I); };
      try {
        BuildOne(*Sources[I], Width, Out[I], Cancel);
      } catch (const EZoneCancelled&) {
        return false;
      } catch (...) {
        if (Failed) *Failed = I;
        throw;
      }
      if (!Ask(I + 1)) return false;
    }
    Zones = std::move(Out);
    return true;
  }
  TBatch Batch(Sources, Width);
  if (!Batch.Run(Threads, Ask, Failed)) return false;
  Zones = std::move(Batch.Zones());
  return true;
}

}  // namespace trace
