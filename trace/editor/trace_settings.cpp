#include "trace/editor/trace_settings.h"

#include <charconv>
#include <cmath>
#include <type_traits>

#include "core/exception.h"

namespace trace {

namespace {

// The store's section and kind for the trace's settings.
constexpr std::int32_t StoreSection = 1;
constexpr std::int32_t StoreKind = 0;

std::string_view TrimBlanks(std::string_view S) {
  while (!S.empty() && static_cast<unsigned char>(S.front()) <= ' ') S.remove_prefix(1);
  while (!S.empty() && static_cast<unsigned char>(S.back()) <= ' ') S.remove_suffix(1);
  return S;
}

[[noreturn]] void RaiseNotInteger(std::string_view Text) {
  throw core::EConvertError("'" + std::string(Text) + "' is not a valid integer value");
}

[[noreturn]] void RaiseNotFloat(std::string_view Text) {
  throw core::EConvertError("'" + std::string(Text) + "' is not a valid floating point value");
}

// Calls Visit(Name, Field) for every setting in table order.
template <class Settings, class F>
void VisitSettings(Settings& S, F&& Visit) {
  Visit("BufferZonePenStyle", S.BufferZonePenStyle);
  Visit("BufferZonePenColor", S.BufferZonePenColor);
  Visit("BufferZoneWidth", S.BufferZonePenWidth);
  Visit("BufferZonePenForZoomScale", S.BufferZonePenForZoomScale);
  Visit("BufferZoneBrushStyle", S.BufferZoneBrushStyle);
  Visit("BufferZoneBackColor", S.BufferZoneBackColor);
  Visit("BufferZoneHatchColor", S.BufferZoneHatchColor);
  Visit("BufferZoneTransparency", S.BufferZoneTransparency);
  Visit("TracePenStyle", S.TracePenStyle);
  Visit("TracePenColor", S.TracePenColor);
  Visit("TraceWidth", S.TracePenWidth);
  Visit("TracePenForZoomScale", S.TracePenForZoomScale);
  Visit("TraceBrushStyle", S.TraceBrushStyle);
  Visit("TraceBackColor", S.TraceBackColor);
  Visit("TraceHatchColor", S.TraceHatchColor);
  Visit("TraceTransparency", S.TraceTransparency);
  Visit("VertexTraceSize", S.VertexTraceSize);
  Visit("VertexTraceSizeForZoomScale", S.VertexTraceSizeForZoomScale);
  Visit("VertexTraceWidth", S.VertexTracePenWidth);
  Visit("VertexTracePenWidthForZoomScale", S.VertexTracePenWidthForZoomScale);
  Visit("VertexTracePenColor", S.VertexTracePenColor);
  Visit("VertexTraceBackColor", S.VertexTraceBackColor);
  Visit("VertexTraceBrushTransparency", S.VertexTraceBrushTransparency);
}

constexpr std::string_view UndrawnSetting = "VertexTraceBrushTransparency";

// Reads one field, its present value being the default.
struct TReadField {
  const kx::TOrvexApplication& App;
  template <class T>
  void operator()(const char* Name, T& Field) const {
    if constexpr (std::is_same_v<T, double>) {
      Field = ReadFloatSetting(App, Name, Field);
    } else {
      // Bytes and colours take the integer's low bits, as a typecast does.
      Field = static_cast<T>(ReadIntSetting(App, Name, static_cast<std::int32_t>(Field)));
    }
  }
};

}  // namespace

const std::array<TSettingInfo, 23> TraceSettingTable = {{
    {"BufferZonePenStyle", TSettingType::PenStyle},
    {"BufferZonePenColor", TSettingType::Color},
    {"BufferZoneWidth", TSettingType::Real},
    {"BufferZonePenForZoomScale", TSettingType::ZoomScale},
    {"BufferZoneBrushStyle", TSettingType::BrushStyle},
    {"BufferZoneBackColor", TSettingType::Color},
    {"BufferZoneHatchColor", TSettingType::Color},
    {"BufferZoneTransparency", TSettingType::Flag},
    {"TracePenStyle", TSettingType::PenStyle},
    {"TracePenColor", TSettingType::Color},
    {"TraceWidth", TSettingType::Real},
    {"TracePenForZoomScale", TSettingType::ZoomScale},
    {"TraceBrushStyle", TSettingType::BrushStyle},
    {"TraceBackColor", TSettingType::Color},
    {"TraceHatchColor", TSettingType::Color},
    {"TraceTransparency", TSettingType::Flag},
    {"VertexTraceSize", TSettingType::Real},
    {"VertexTraceSizeForZoomScale", TSettingType::ZoomScale},
    {"VertexTraceWidth", TSettingType::Real},
    {"VertexTracePenWidthForZoomScale", TSettingType::ZoomScale},
    {"VertexTracePenColor", TSettingType::Color},
    {"VertexTraceBackColor", TSettingType::Color},
    {"VertexTraceBrushTransparency", TSettingType::Flag},
}};

std::string SettingKey(std::string_view Name) {
  return "Trace." + std::string(Name);
}

std::string ReadSetting(const kx::TOrvexApplication& App, std::string_view Name) {
  return App.GetSettingsStore().ReadValue(StoreSection, StoreKind, SettingKey(Name),
                                          NoSettingValue);
}

std::int32_t SettingTextToInt(std::string_view Text) {
  std::string_view S = TrimBlanks(Text);
  // from_chars takes a minus only; a plus goes first, and never both.
  if (!S.empty() && S.front() == '+') {
    S.remove_prefix(1);
    if (!S.empty() && S.front() == '-') RaiseNotInteger(Text);
  }
  if (S.empty() || S.front() == '+') RaiseNotInteger(Text);
  std::int32_t Value = 0;
  const auto [End, Error] = std::from_chars(S.data(), S.data() + S.size(), Value);
  if (Error != std::errc() || End != S.data() + S.size()) RaiseNotInteger(Text);
  return Value;
}

double SettingTextToFloat(std::string_view Text) {
  // Whatever the locale's separator, unifying both to one and converting
  // with that one reads "0,5" and "0.5" alike.
  std::string S(TrimBlanks(Text));
  for (char& C : S)
    if (C == ',') C = '.';
  std::string_view V = S;
  if (!V.empty() && V.front() == '+') {
    V.remove_prefix(1);
    if (!V.empty() && V.front() == '-') RaiseNotFloat(Text);
  }
  if (V.empty() || V.front() == '+') RaiseNotFloat(Text);
  double Value = 0;
  const auto [End, Error] =
      std::from_chars(V.data(), V.data() + V.size(), Value, std::chars_format::general);
  if (Error != std::errc() || End != V.data() + V.size() || !std::isfinite(Value))
    RaiseNotFloat(Text);
  return Value;
}

std::int32_t ReadIntSetting(const kx::TOrvexApplication& App, std::string_view Name,
                            std::int32_t Default) {
  const std::string Text = ReadSetting(App, Name);
  if (Text == NoSettingValue) return Default;
  return SettingTextToInt(Text);
}

double ReadFloatSetting(const kx::TOrvexApplication& App, std::string_view Name, double Default) {
  const std::string Text = ReadSetting(App, Name);
  if (Text == NoSettingValue) return Default;
  return SettingTextToFloat(Text);
}

void WriteSetting(const kx::TOrvexApplication& App, std::string_view Name, std::string_view Text) {
  App.GetSettingsStore().WriteValue(StoreSection, StoreKind, SettingKey(Name), Text);
}

void WriteIntSetting(const kx::TOrvexApplication& App, std::string_view Name, std::int32_t Value) {
  WriteSetting(App, Name, std::to_string(Value));
}

void WriteFloatSetting(const kx::TOrvexApplication& App, std::string_view Name, double Value) {
  char Buffer[64];
  const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
  WriteSetting(App, Name, std::string_view(Buffer, static_cast<size_t>(Result.ptr - Buffer)));
}

TTraceSettings ReadTraceSettings(const kx::TOrvexApplication& App) {
  TTraceSettings S;
  VisitSettings(S, TReadField{App});
  return S;
}

void LoadDrawingSettings(const kx::TOrvexApplication& App, TTraceSettings& Settings) {
  TTraceSettings Fresh;
  Fresh.VertexTraceBrushTransparency = Settings.VertexTraceBrushTransparency;
  const TReadField Read{App};
  VisitSettings(Fresh, [&](const char* Name, auto& Field) {
    if (Name != UndrawnSetting) Read(Name, Field);
  });
  Settings = Fresh;
}

void WriteTraceSettings(const kx::TOrvexApplication& App, const TTraceSettings& Settings) {
  VisitSettings(Settings, [&](const char* Name, const auto& Field) {
    using T = std::decay_t<decltype(Field)>;
    if constexpr (std::is_same_v<T, double>)
      WriteFloatSetting(App, Name, Field);
    else
      WriteIntSetting(App, Name, static_cast<std::int32_t>(Field));
  });
}

}  // namespace trace
