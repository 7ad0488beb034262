// The settings model over the host's settings store, kept in an INI file.
#include "trace/editor/trace_settings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <set>

#include "addonkit/hresult_error.h"
#include "tests/support/test_host.h"

namespace {

using trace::TTraceSettings;

struct SettingsTest : ::testing::Test {
  host::TTestHost Host;
  kx::TOrvexApplication App = kx::TOrvexApplication::FromManager(Host.AddOnManager());

  void Store(const std::string& Name, const std::string& Value) {
    Host.Settings().SetValue(1, "Trace." + Name, Value);
  }
  std::string Stored(const std::string& Name) {
    return Host.Settings().Value(1, "Trace." + Name).value_or("<none>");
  }
  int Fetches() { return Host.Manager().Application().SettingsStoreCount(); }
};

TEST_F(SettingsTest, EmptyStoreGivesTheTableDefaultsInBothReaders) {
  const TTraceSettings S = trace::ReadTraceSettings(App);
  EXPECT_EQ(S.BufferZonePenStyle, 0);
  EXPECT_EQ(S.BufferZonePenColor, 32768u);
  EXPECT_EQ(S.BufferZonePenWidth, 1.0);
  EXPECT_EQ(S.BufferZoneBrushStyle, 4);
  EXPECT_EQ(S.BufferZoneBackColor, 16777215u);
  EXPECT_EQ(S.BufferZoneHatchColor, 32768u);
  EXPECT_EQ(S.BufferZoneTransparency, 1);
  EXPECT_EQ(S.TracePenColor, 255u);
  EXPECT_EQ(S.TraceBrushStyle, 5);
  EXPECT_EQ(S.TraceHatchColor, 255u);
  EXPECT_EQ(S.VertexTraceSize, 0.002);
  EXPECT_EQ(S.VertexTracePenWidth, 0.0);
  EXPECT_EQ(S.VertexTracePenColor, 16711680u);
  EXPECT_EQ(S.VertexTraceBrushTransparency, 0);
  EXPECT_EQ(S, TTraceSettings{});

  // Every read went to its own fetch of the store.
  const int Before = Fetches();
  trace::ReadTraceSettings(App);
  EXPECT_EQ(Fetches() - Before, 23);

  // The drawing reader: same defaults, whatever the record held before.
  TTraceSettings Drawing;
  Drawing.TracePenWidth = 7;
  Drawing.BufferZonePenColor = 1;
  trace::LoadDrawingSettings(App, Drawing);
  EXPECT_EQ(Drawing, TTraceSettings{});
}

TEST_F(SettingsTest, EachSettingHasItsOwnKeyAndDrawingNeverReadsTheVertexBrushTransparency) {
  const char* Values[][2] = {{"BufferZonePenStyle", "1"},
                             {"BufferZonePenColor", "2"},
                             {"BufferZoneWidth", "3.5"},
                             {"BufferZonePenForZoomScale", "4"},
                             {"BufferZoneBrushStyle", "5"},
                             {"BufferZoneBackColor", "6"},
                             {"BufferZoneHatchColor", "7"},
                             {"BufferZoneTransparency", "0"},
                             {"TracePenStyle", "2"},
                             {"TracePenColor", "10"},
                             {"TraceWidth", "11,5"},
                             {"TracePenForZoomScale", "12"},
                             {"TraceBrushStyle", "3"},
                             {"TraceBackColor", "14"},
                             {"TraceHatchColor", "15"},
                             {"TraceTransparency", "0"},
                             {"VertexTraceSize", "0.25"},
                             {"VertexTraceSizeForZoomScale", "18"},
                             {"VertexTraceWidth", "19.5"},
                             {"VertexTracePenWidthForZoomScale", "20"},
                             {"VertexTracePenColor", "21"},
                             {"VertexTraceBackColor", "22"},
                             {"VertexTraceBrushTransparency", "1"}};
  for (const auto& [Name, Value] : Values) Store(Name, Value);
  TTraceSettings Want;
  Want.BufferZonePenStyle = 1;
  Want.BufferZonePenColor = 2;
  Want.BufferZonePenWidth = 3.5;
  Want.BufferZonePenForZoomScale = 4;
  Want.BufferZoneBrushStyle = 5;
  Want.BufferZoneBackColor = 6;
  Want.BufferZoneHatchColor = 7;
  Want.BufferZoneTransparency = 0;
  Want.TracePenStyle = 2;
  Want.TracePenColor = 10;
  Want.TracePenWidth = 11.5;
  Want.TracePenForZoomScale = 12;
  Want.TraceBrushStyle = 3;
  Want.TraceBackColor = 14;
  Want.TraceHatchColor = 15;
  Want.TraceTransparency = 0;
  Want.VertexTraceSize = 0.25;
  Want.VertexTraceSizeForZoomScale = 18;
  Want.VertexTracePenWidth = 19.5;
  Want.VertexTracePenWidthForZoomScale = 20;
  Want.VertexTracePenColor = 21;
  Want.VertexTraceBackColor = 22;
  Want.VertexTraceBrushTransparency = 1;
  EXPECT_EQ(trace::ReadTraceSettings(App), Want);

  // The drawing reader takes the other 22 and leaves this one alone: even
  // a value no reader could convert goes unnoticed.
  Store("VertexTraceBrushTransparency", "big");
  TTraceSettings Drawing;
  const int Before = Fetches();
  trace::LoadDrawingSettings(App, Drawing);
  EXPECT_EQ(Fetches() - Before, 22);
  Want.VertexTraceBrushTransparency = 0;
  EXPECT_EQ(Drawing, Want);
  // The dialog's reader does read it.
  EXPECT_THROW(trace::ReadTraceSettings(App), core::EConvertError);
}

TEST_F(SettingsTest, EitherDecimalSeparatorWhateverTheLocale) {
  Store("TraceWidth", "0,5");
  Store("BufferZoneWidth", "0.5");
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
  Store("TracePenColor", "-1");
  Store("TraceBrushStyle", "7");
  Store("TracePenStyle", "Error");  // stands for no value
  const TTraceSettings S = trace::ReadTraceSettings(App);
  EXPECT_EQ(S.TracePenColor, 0xFFFFFFFFu);
  EXPECT_EQ(S.TraceBrushStyle, 7);
  EXPECT_EQ(S.TracePenStyle, 0);
  EXPECT_EQ(trace::ReadSetting(App, "Missing"), "Error");

  Store("VertexTraceSize", "big");
  try {
    trace::ReadTraceSettings(App);
    FAIL() << "no conversion error";
  } catch (const core::EConvertError& E) {
    EXPECT_STREQ(E.what(), "'big' is not a valid floating point value");
  }
}

TEST_F(SettingsTest, ABrokenStoreServesDefaults) {
  // A settings file the host cannot read: the add-on reads its defaults and
  // runs, and its first write keeps the damaged file aside.
  const std::string Path = Host.SettingsPath() + ".broken";
  std::ofstream(Path) << "[User]\nTrace.TracePenWidth 2\n";
  host::TTestHost Broken(Path);
  const auto BrokenApp = kx::TOrvexApplication::FromManager(Broken.AddOnManager());
  EXPECT_EQ(trace::ReadSetting(BrokenApp, "TraceWidth"), "Error");
  EXPECT_EQ(trace::ReadFloatSetting(BrokenApp, "TraceWidth", 1), 1);
  trace::WriteIntSetting(BrokenApp, "TracePenStyle", 3);
  EXPECT_EQ(trace::ReadSetting(BrokenApp, "TracePenStyle"), "3");
  EXPECT_TRUE(std::ifstream(Path + ".damaged").good());
}

TEST_F(SettingsTest, WritersUseTraceKeysAndReadBack) {
  TTraceSettings S;
  S.BufferZonePenColor = 0xFF00FF;
  S.TracePenColor = 0xFFFFFFFF;
  S.VertexTraceSize = 0.1;
  S.TracePenWidth = 1.0 / 3;
  S.VertexTraceBrushTransparency = 1;
  S.TracePenForZoomScale = 25000;
  const int Before = Fetches();
  trace::WriteTraceSettings(App, S);
  EXPECT_EQ(Fetches() - Before, 23);
  EXPECT_EQ(Stored("TracePenColor"), "-1");  // signed decimal
  EXPECT_EQ(Stored("VertexTraceSize"), "0.1");
  EXPECT_EQ(trace::ReadTraceSettings(App), S);
  // The file holds the 23 keys, each "Trace." and a setting's name, and
  // nothing else.
  std::ifstream File(Host.SettingsPath());
  std::set<std::string> Keys;
  for (std::string Line; std::getline(File, Line);)
    if (const size_t Eq = Line.find('='); Eq != std::string::npos) Keys.insert(Line.substr(0, Eq));
  std::set<std::string> Want;
  for (const trace::TSettingInfo& I : trace::TraceSettingTable)
    Want.insert(std::string("Trace.") + I.Name);
  EXPECT_EQ(Keys, Want);
  // Another run of the host over the same file finds them.
  {
    host::TTestHost Later(Host.SettingsPath());
    EXPECT_EQ(trace::ReadTraceSettings(kx::TOrvexApplication::FromManager(Later.AddOnManager())),
              S);
  }

  trace::WriteSetting(App, "TraceWidth", "2,25");
  EXPECT_EQ(trace::ReadFloatSetting(App, "TraceWidth", 0), 2.25);
  trace::WriteIntSetting(App, "TracePenStyle", 3);
  EXPECT_EQ(Stored("TracePenStyle"), "3");
}

}  // namespace
