#include "trace/trace_settings.h"

#include <gtest/gtest.h>

#include <clocale>

#include "addonkit/hresult_error.h"
#include "fake_host.h"

namespace {

using trace::TTraceSettings;

struct SettingsTest : ::testing::Test {
  fake::TApplication Host;
  kx::TOrvexApplication App{compat::TComPtr<kx::IOrvexApplication>(&Host)};
};

TEST_F(SettingsTest, EmptyStoreGivesTheTableDefaultsInBothReaders) {
  const TTraceSettings S = trace::ReadTraceSettings(App);
  EXPECT_EQ(S.BufferZonePenStyle, 0);
  EXPECT_EQ(S.BufferZonePenColor, 32768u);
  EXPECT_EQ(S.BufferZoneWidth, 1.0);
  EXPECT_EQ(S.BufferZoneBrushStyle, 4);
  EXPECT_EQ(S.BufferZoneBackColor, 16777215u);
  EXPECT_EQ(S.BufferZoneHatchColor, 32768u);
  EXPECT_EQ(S.BufferZoneTransparency, 1);
  EXPECT_EQ(S.TracePenColor, 255u);
  EXPECT_EQ(S.TraceBrushStyle, 5);
  EXPECT_EQ(S.TraceHatchColor, 255u);
  EXPECT_EQ(S.VertexTraceSize, 0.002);
  EXPECT_EQ(S.VertexTraceWidth, 0.0);
  EXPECT_EQ(S.VertexTracePenColor, 16711680u);
  EXPECT_EQ(S.VertexTraceBrushTransparency, 0);
  EXPECT_EQ(S, TTraceSettings{});

  // Every read went to its own fetch of the store, keys in table order.
  ASSERT_EQ(Host.Store.Reads.size(), 23u);
  EXPECT_EQ(Host.StoreFetches, 23);
  for (size_t I = 0; I < 23; ++I)
    EXPECT_EQ(Host.Store.Reads[I], std::string("Trace.") + trace::TraceSettingTable[I].Name);

  // The drawing reader: same defaults, whatever the record held before.
  TTraceSettings Drawing;
  Drawing.TraceWidth = 7;
  Drawing.BufferZonePenColor = 1;
  trace::LoadDrawingSettings(App, Drawing);
  EXPECT_EQ(Drawing, TTraceSettings{});
}

TEST_F(SettingsTest, DrawingNeverReadsTheVertexBrushTransparency) {
  Host.Store.Values["Trace.VertexTraceBrushTransparency"] = "1";
  TTraceSettings S;
  trace::LoadDrawingSettings(App, S);
  EXPECT_EQ(S.VertexTraceBrushTransparency, 0);
  EXPECT_EQ(Host.Store.Reads.size(), 22u);
  for (const std::string& Key : Host.Store.Reads)
    EXPECT_NE(Key, "Trace.VertexTraceBrushTransparency");
  // The dialog's reader does read it.
  EXPECT_EQ(trace::ReadTraceSettings(App).VertexTraceBrushTransparency, 1);
}

TEST_F(SettingsTest, EitherDecimalSeparatorWhateverTheLocale) {
  Host.Store.Values["Trace.TraceWidth"] = "0,5";
  Host.Store.Values["Trace.BufferZoneWidth"] = "0.5";
  EXPECT_EQ(trace::ReadFloatSetting(App, "TraceWidth", 3), 0.5);
  EXPECT_EQ(trace::ReadFloatSetting(App, "BufferZoneWidth", 3), 0.5);
  // A locale with a comma as separator changes nothing.
  const char* Old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string Saved = Old ? Old : "C";
  if (std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
    EXPECT_EQ(trace::ReadFloatSetting(App, "TraceWidth", 3), 0.5);
    EXPECT_EQ(trace::ReadFloatSetting(App, "BufferZoneWidth", 3), 0.5);
  }
  std::setlocale(LC_NUMERIC, Saved.c_str());

  EXPECT_EQ(trace::SettingTextToFloat(" -1.25e2 "), -125.0);
  EXPECT_EQ(trace::SettingTextToFloat("+2"), 2.0);
  EXPECT_EQ(trace::SettingTextToInt(" -16777216 "), -16777216);
  for (const char* Bad : {"", "abc", "1.2.3", "1,5x", "inf", "nan", "++1", "+-1", "1e999"})
    EXPECT_THROW(trace::SettingTextToFloat(Bad), core::EConvertError) << Bad;
  for (const char* Bad : {"", "1.5", "x1", "2147483648", "+-1"})
    EXPECT_THROW(trace::SettingTextToInt(Bad), core::EConvertError) << Bad;
}

TEST_F(SettingsTest, StoredValuesErrorTextAndConversionFailures) {
  Host.Store.Values["Trace.TracePenColor"] = "-1";
  Host.Store.Values["Trace.TraceBrushStyle"] = "7";
  Host.Store.Values["Trace.TracePenStyle"] = "Error";  // stands for no value
  const TTraceSettings S = trace::ReadTraceSettings(App);
  EXPECT_EQ(S.TracePenColor, 0xFFFFFFFFu);
  EXPECT_EQ(S.TraceBrushStyle, 7);
  EXPECT_EQ(S.TracePenStyle, 0);
  EXPECT_EQ(trace::ReadSetting(App, "Missing"), "Error");

  Host.Store.Values["Trace.VertexTraceSize"] = "big";
  try {
    trace::ReadTraceSettings(App);
    FAIL() << "no conversion error";
  } catch (const core::EConvertError& E) {
    EXPECT_STREQ(E.what(), "'big' is not a valid floating point value");
  }
  Host.Store.Fail = true;
  EXPECT_THROW(trace::ReadSetting(App, "TraceWidth"), kx::EHResultError);
}

TEST_F(SettingsTest, WritersUseTraceKeysAndReadBack) {
  TTraceSettings S;
  S.BufferZonePenColor = 0xFF00FF;
  S.TracePenColor = 0xFFFFFFFF;
  S.VertexTraceSize = 0.1;
  S.TraceWidth = 1.0 / 3;
  S.VertexTraceBrushTransparency = 1;
  S.TracePenForZoomScale = 25000;
  trace::WriteTraceSettings(App, S);
  ASSERT_EQ(Host.Store.Writes.size(), 23u);
  for (size_t I = 0; I < 23; ++I)
    EXPECT_EQ(Host.Store.Writes[I], std::string("Trace.") + trace::TraceSettingTable[I].Name);
  EXPECT_EQ(Host.Store.Values["Trace.TracePenColor"], "-1");  // signed decimal
  EXPECT_EQ(Host.Store.Values["Trace.VertexTraceSize"], "0.1");
  EXPECT_EQ(trace::ReadTraceSettings(App), S);

  trace::WriteSetting(App, "TraceWidth", "2,25");
  EXPECT_EQ(trace::ReadFloatSetting(App, "TraceWidth", 0), 2.25);
  trace::WriteIntSetting(App, "TracePenStyle", 3);
  EXPECT_EQ(Host.Store.Values["Trace.TracePenStyle"], "3");
}

}  // namespace
