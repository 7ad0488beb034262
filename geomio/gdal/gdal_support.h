// What the GDAL-backed readers and writers share: one-time driver
// registration, datasets closed by their owner, and GDAL's messages caught
// instead of printed. For the GDAL-backed sources only.
#pragma once

#include <gdal_priv.h>

#include <memory>
#include <string>
#include <vector>

namespace geomio::gdal {

struct TCloseDataset {
  void operator()(GDALDataset* D) const { GDALClose(D); }
};
using TDatasetPtr = std::unique_ptr<GDALDataset, TCloseDataset>;

// Registers GDAL's drivers once.
void EnsureGdal();

// While alive, GDAL's errors and warnings are collected here rather than
// printed; the innermost guard gets them.
class TGdalMessages {
 public:
  TGdalMessages();
  ~TGdalMessages();
  TGdalMessages(const TGdalMessages&) = delete;
  TGdalMessages& operator=(const TGdalMessages&) = delete;

  // The last error's text, or Fallback when GDAL gave none.
  std::string LastError(const std::string& Fallback) const;
  std::vector<std::string> Warnings;
  std::vector<std::string> Errors;
};

}  // namespace geomio::gdal
