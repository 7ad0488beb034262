#include "geomio/gdal/gdal_support.h"

#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace geomio::gdal {

namespace {

void CPL_STDCALL Collect(CPLErr Class, CPLErrorNum, const char* Msg) {
  auto* Sink = static_cast<TGdalMessages*>(CPLGetErrorHandlerUserData());
  if (!Sink || !Msg) return;
  if (Class == CE_Warning) {
    Sink->Warnings.emplace_back(Msg);
  } else if (Class >= CE_Failure) {
    Sink->Errors.emplace_back(Msg);
  }
}

}  // namespace

void EnsureGdal() {
  static std::once_flag Once;
  std::call_once(Once, [] { GDALAllRegister(); });
}

TGdalMessages::TGdalMessages() {
  EnsureGdal();
  CPLPushErrorHandlerEx(Collect, this);
}

TGdalMessages::~TGdalMessages() {
  CPLPopErrorHandler();
}

std::string TGdalMessages::LastError(const std::string& Fallback) const {
  return Errors.empty() ? Fallback : Errors.back();
}

}  // namespace geomio::gdal
