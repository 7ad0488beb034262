#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

#include "core/exception.h"
#include "tools/trace-geom/gis_formats.h"

namespace geomio {

namespace {

namespace fs = std::filesystem;

// The folder of the running executable, whatever the current directory and
// however the tool was started (through a link, from PATH).
fs::path ExecutableFolder() {
  char Buffer[PATH_MAX];
  const ssize_t N = ::readlink("/proc/self/exe", Buffer, sizeof Buffer - 1);
  if (N <= 0) return {};
  return fs::path(std::string(Buffer, static_cast<size_t>(N))).parent_path();
}

}  // namespace

IGisFormats& LoadGisFormats(const std::string& Path) {
  // The loader's own reasons name the path.
  const std::string Failure =
      "cannot load the GIS formats module " + fs::path(Path).filename().string() + ": ";
  // Bound lazily, as a linked GDAL was: binding all of its tree up front
  // costs a GIS job about 10 ms. The module is linked with no symbol left open.
  void* Module = ::dlopen(Path.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (!Module) throw core::Exception(Failure + ::dlerror());
  const auto Factory = reinterpret_cast<TGisFormatsFactory>(::dlsym(Module, GisFormatsFactoryName));
  if (!Factory) {
    const std::string Reason = ::dlerror();
    ::dlclose(Module);
    throw core::Exception(Failure + Reason);
  }
  IGisFormats* Formats = Factory(GisFormatsVersion);
  if (!Formats) {
    ::dlclose(Module);
    throw core::Exception(Failure + Path + " was built for another version of trace-geom");
  }
  // Kept loaded to the end of the process: GDAL holds state in it.
  return *Formats;
}

IGisFormats& GisFormats() {
  static IGisFormats* const Formats = [] {
    const fs::path Beside = ExecutableFolder() / TRACE_GEOM_GIS_MODULE;
    std::error_code Ignored;
    if (!fs::exists(Beside, Ignored) && fs::exists(TRACE_GEOM_GIS_BUILT, Ignored))
      return &LoadGisFormats(TRACE_GEOM_GIS_BUILT);
    return &LoadGisFormats(Beside.string());
  }();
  return *Formats;
}

}  // namespace geomio
