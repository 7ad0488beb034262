// The 23 drawing settings of the zone, the trace and the trace vertices, kept
// in the host's settings store under "Trace." and the setting's name. Nothing
// is cached: the store is fetched afresh for every read and write, so a
// change written by the settings dialog shows at the next repaint.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "addonkit/orvex_calls.h"

namespace trace {

// The text that stands for "no value" in the store.
inline constexpr char NoSettingValue[] = "Error";

// "Trace." followed by Name.
std::string SettingKey(std::string_view Name);

// The stored text, or "Error" when there is none.
std::string ReadSetting(const kx::TOrvexApplication& App, std::string_view Name);
// Default when there is no value; else the text as an integer
// (EConvertError when it is not one).
std::int32_t ReadIntSetting(const kx::TOrvexApplication& App, std::string_view Name,
                            std::int32_t Default);
// Default when there is no value; else the text as a number, "," and "."
// both taken as the decimal separator (EConvertError when it is not one).
double ReadFloatSetting(const kx::TOrvexApplication& App, std::string_view Name, double Default);

void WriteSetting(const kx::TOrvexApplication& App, std::string_view Name, std::string_view Text);
void WriteIntSetting(const kx::TOrvexApplication& App, std::string_view Name, std::int32_t Value);
// The shortest text that reads back to Value, with "." as separator.
void WriteFloatSetting(const kx::TOrvexApplication& App, std::string_view Name, double Value);

// Text to number as the readers convert: surrounding blanks allowed, an
// optional sign; EConvertError otherwise.
std::int32_t SettingTextToInt(std::string_view Text);
double SettingTextToFloat(std::string_view Text);

enum class TSettingType : std::uint8_t { PenStyle, BrushStyle, Color, Real, ZoomScale, Flag };

struct TSettingInfo {
  const char* Name;
  TSettingType Type;
};

// Every setting in the order in which the readers and the writer handle them.
extern const std::array<TSettingInfo, 23> TraceSettingTable;

// Setting values; a default-constructed record holds the defaults. Colours
// are 0x00BBGGRR, stored as signed decimal integers. The outlines' pen
// widths are stored under the names BufferZoneWidth, TraceWidth and
// VertexTraceWidth.
struct TTraceSettings {
  std::uint8_t BufferZonePenStyle = 0;
  std::uint32_t BufferZonePenColor = 0x008000;
  double BufferZonePenWidth = 1.0;
  std::int32_t BufferZonePenForZoomScale = 0;
  std::uint8_t BufferZoneBrushStyle = 4;
  std::uint32_t BufferZoneBackColor = 0xFFFFFF;
  std::uint32_t BufferZoneHatchColor = 0x008000;
  std::uint8_t BufferZoneTransparency = 1;
  std::uint8_t TracePenStyle = 0;
  std::uint32_t TracePenColor = 0x0000FF;
  double TracePenWidth = 1.0;
  std::int32_t TracePenForZoomScale = 0;
  std::uint8_t TraceBrushStyle = 5;
  std::uint32_t TraceBackColor = 0xFFFFFF;
  std::uint32_t TraceHatchColor = 0x0000FF;
  std::uint8_t TraceTransparency = 1;
  double VertexTraceSize = 0.002;
  std::int32_t VertexTraceSizeForZoomScale = 0;
  double VertexTracePenWidth = 0.0;
  std::int32_t VertexTracePenWidthForZoomScale = 0;
  std::uint32_t VertexTracePenColor = 0xFF0000;
  std::uint32_t VertexTraceBackColor = 0xFFFFFF;
  std::uint8_t VertexTraceBrushTransparency = 0;

  friend bool operator==(const TTraceSettings&, const TTraceSettings&) = default;
};

// All 23 settings, each missing one at its default (the settings dialog).
TTraceSettings ReadTraceSettings(const kx::TOrvexApplication& App);
// The 22 that drawing uses, each missing one at its default; the vertex
// brush transparency is never read and keeps its value in Settings.
void LoadDrawingSettings(const kx::TOrvexApplication& App, TTraceSettings& Settings);
// All 23, reals as their shortest text.
void WriteTraceSettings(const kx::TOrvexApplication& App, const TTraceSettings& Settings);

}  // namespace trace
