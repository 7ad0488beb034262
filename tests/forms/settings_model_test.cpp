// The settings dialog's decisions without a window: what it reads, holds,
// enables and writes, and where a number that would not read back stops it.
#include "forms/settings_model.h"

#include <gtest/gtest.h>

#include "addonkit/hresult_error.h"
#include "core/exception.h"
#include "tests/ui/fake_host.h"
#include "trace/editor/trace_settings.h"

namespace {

using forms::TSettingsModel;

struct TSession {
  fake::TApplication Host;
  TSettingsModel Model;

  kx::TOrvexApplication App() {
    Host.AddRef();
    return kx::TOrvexApplication(compat::TComPtr<kx::IOrvexApplication>::Attach(&Host));
  }
  std::string Stored(const std::string& Name) { return Host.Store.Values.at("Trace." + Name); }
  std::string SaveError() {
    try {
      Model.Save(App());
    } catch (const std::exception& E) {
      return E.what();
    }
    return "";
  }
};

std::vector<std::string> TableKeys() {
  std::vector<std::string> Keys;
  for (const trace::TSettingInfo& S : trace::TraceSettingTable)
    Keys.push_back(std::string("Trace.") + S.Name);
  return Keys;
}

TEST(SettingsModel, EmptyStoreGivesTheDefaultsAndTheSameIsWrittenBack) {
  TSession S;
  S.Model.Load(S.App());
  EXPECT_EQ(S.Host.Store.Reads, TableKeys());
  const TSettingsModel& M = S.Model;
  EXPECT_EQ(M.Page(), forms::spVertices);
  EXPECT_EQ(M.BufferZonePen.Style(), 0);
  EXPECT_EQ(M.BufferZonePen.Color(), 0x008000u);
  EXPECT_EQ(M.NumberText(forms::snBufferZonePenWidth), "1");
  EXPECT_EQ(M.NumberText(forms::snBufferZonePenForZoomScale), "0");
  EXPECT_TRUE(M.NumberEnabled(forms::snBufferZonePenWidth));
  EXPECT_EQ(M.BufferZoneBrush.Style(), 4);
  EXPECT_EQ(M.BufferZoneBrush.BackColor(), 0xFFFFFFu);
  EXPECT_EQ(M.BufferZoneBrush.HatchColor(), 0x008000u);
  EXPECT_EQ(TSettingsModel::TransparencyIndex(M.BufferZoneBrush), 1);
  EXPECT_EQ(M.TracePen.Color(), 0x0000FFu);
  EXPECT_EQ(M.TraceBrush.Style(), 5);
  EXPECT_EQ(M.NumberText(forms::snVertexTraceSize), "0.002");
  EXPECT_EQ(M.NumberText(forms::snVertexTracePenWidth), "0");
  EXPECT_EQ(M.VertexTracePenColor, 0xFF0000u);
  EXPECT_EQ(M.VertexTraceBackColor, 0xFFFFFFu);
  EXPECT_EQ(M.VertexTraceTransparencyIndex, 0);

  EXPECT_EQ(S.SaveError(), "");
  EXPECT_EQ(S.Host.Store.Writes, TableKeys());
  EXPECT_EQ(S.Host.Document.View.Operation7Calls, 1);
  EXPECT_EQ(S.Stored("BufferZonePenColor"), "32768");
  EXPECT_EQ(S.Stored("VertexTracePenColor"), "16711680");
  EXPECT_EQ(trace::ReadTraceSettings(S.App()), trace::TTraceSettings());
  // Read again from what it wrote, it writes the same once more.
  const auto First = S.Host.Store.Values;
  TSession Again;
  Again.Host.Store.Values = First;
  Again.Model.Load(Again.App());
  Again.Model.Save(Again.App());
  EXPECT_EQ(Again.Host.Store.Values, First);
}

TEST(SettingsModel, StoredValuesRoundTrip) {
  TSession S;
  auto& V = S.Host.Store.Values;
  V["Trace.BufferZonePenStyle"] = "6";  // inside frame holds as solid
  V["Trace.BufferZonePenColor"] = "-16777216";
  V["Trace.BufferZoneWidth"] = "0,5";
  V["Trace.BufferZonePenForZoomScale"] = "2000";
  V["Trace.BufferZoneBrushStyle"] = "7";
  V["Trace.BufferZoneBackColor"] = "1193046";
  V["Trace.BufferZoneTransparency"] = "0";
  V["Trace.TracePenStyle"] = "3";
  V["Trace.TraceWidth"] = "2.25";
  V["Trace.VertexTraceSize"] = "0.0125";
  V["Trace.VertexTraceBrushTransparency"] = "1";
  S.Model.Load(S.App());
  EXPECT_EQ(S.Model.NumberText(forms::snBufferZonePenWidth), "0.5");
  EXPECT_FALSE(S.Model.NumberEnabled(forms::snTracePenWidth));  // dash-dot
  EXPECT_FALSE(S.Model.NumberEnabled(forms::snTracePenForZoomScale));
  EXPECT_EQ(S.Model.VertexTraceTransparencyIndex, 1);
  S.Model.Save(S.App());
  EXPECT_EQ(S.Stored("BufferZonePenStyle"), "0");
  EXPECT_EQ(S.Stored("BufferZonePenColor"), "-16777216");
  EXPECT_EQ(S.Stored("BufferZoneWidth"), "0.5");
  EXPECT_EQ(S.Stored("BufferZoneBackColor"), "1193046");
  EXPECT_EQ(S.Stored("TracePenStyle"), "3");
  EXPECT_EQ(S.Stored("TraceWidth"), "2.25");  // disabled, still saved
  EXPECT_EQ(S.Stored("VertexTraceSize"), "0.0125");
  EXPECT_EQ(S.Stored("VertexTraceBrushTransparency"), "1");
}

TEST(SettingsModel, ASessionChangesStoresAndRereads) {
  TSession S;
  S.Model.SetLocaleSeparator(U',');
  S.Model.Load(S.App());
  EXPECT_EQ(S.Model.NumberText(forms::snVertexTraceSize), "0,002");
  // The user picks the buffer zone's page, a dashed zone outline, colours,
  // an opaque trace fill and new numbers.
  S.Model.SelectNode("Буферная зона");
  EXPECT_EQ(S.Model.Page(), forms::spBufferZone);
  S.Model.BufferZonePen.Click(60, 5, 150, 40);  // the dash sample, cell (1, 0)
  EXPECT_EQ(S.Model.BufferZonePen.Style(), 1);
  EXPECT_FALSE(S.Model.NumberEnabled(forms::snBufferZonePenWidth));
  EXPECT_FALSE(S.Model.NumberEnabled(forms::snBufferZonePenForZoomScale));
  EXPECT_TRUE(S.Model.NumberEnabled(forms::snTracePenWidth));
  S.Model.TracePen.SetColor(0x00FFFF);
  S.Model.TraceBrush.SetBackColor(0x000080);
  S.Model.TraceBrush.SetHatchColor(0x808080);
  TSettingsModel::SetTransparencyIndex(S.Model.TraceBrush, 0);
  S.Model.VertexTracePenColor = 0x00FF00;
  S.Model.SetNumberText(forms::snTracePenWidth, "1,75");
  S.Model.SetNumberText(forms::snVertexTraceSizeForZoomScale, "5000");
  EXPECT_EQ(S.SaveError(), "");
  EXPECT_EQ(S.Stored("BufferZonePenStyle"), "1");
  EXPECT_EQ(S.Stored("TraceWidth"), "1,75");  // as typed
  // What the trace editor reads at its next paint.
  trace::TTraceSettings Drawing;
  trace::LoadDrawingSettings(S.App(), Drawing);
  EXPECT_EQ(Drawing.BufferZonePenStyle, 1);
  EXPECT_EQ(Drawing.TracePenColor, 0x00FFFFu);
  EXPECT_EQ(Drawing.TraceBackColor, 0x000080u);
  EXPECT_EQ(Drawing.TraceHatchColor, 0x808080u);
  EXPECT_EQ(Drawing.TraceTransparency, 0);
  EXPECT_EQ(Drawing.TracePenWidth, 1.75);
  EXPECT_EQ(Drawing.VertexTraceSizeForZoomScale, 5000);
  EXPECT_EQ(Drawing.VertexTracePenColor, 0x00FF00u);
  // Opened again, the dialog shows what was stored.
  TSettingsModel Reread;
  Reread.Load(S.App());
  EXPECT_EQ(Reread.BufferZonePen.Style(), 1);
  EXPECT_EQ(Reread.NumberText(forms::snTracePenWidth), "1.75");
  EXPECT_EQ(TSettingsModel::TransparencyIndex(Reread.TraceBrush), 0);
  EXPECT_EQ(Reread.VertexTracePenColor, 0x00FF00u);
}

TEST(SettingsModel, UnreadableNumbersAndHostFailures) {
  {
    TSession S;
    S.Host.Store.Values["Trace.BufferZoneWidth"] = "1.5x";
    EXPECT_THROW(S.Model.Load(S.App()), core::EConvertError);
  }
  TSession S;
  S.Model.Load(S.App());
  S.Model.SetNumberText(forms::snTracePenWidth, "");
  EXPECT_EQ(S.SaveError(), "Ошибка: Введите число");
  EXPECT_EQ(S.Model.FailedNumber(), forms::snTracePenWidth);
  EXPECT_EQ(S.Model.Page(), forms::spTrace);
  S.Model.SetNumberText(forms::snTracePenWidth, "2");
  S.Model.SetNumberText(forms::snVertexTraceSizeForZoomScale, "5.5");  // a scale is whole
  EXPECT_EQ(S.SaveError(), "Ошибка: не могу преобразовать строку \"5.5\" в число");
  EXPECT_EQ(S.Model.Page(), forms::spVertices);
  EXPECT_TRUE(S.Host.Store.Writes.empty());
  S.Model.SetNumberText(forms::snVertexTraceSizeForZoomScale, "5");

  // A failing store stops at its first write; a failing view call comes
  // after all 23 are stored.
  S.Host.Store.Fail = true;
  EXPECT_THROW(S.Model.Save(S.App()), kx::EHResultError);
  EXPECT_EQ(S.Model.FailedNumber(), -1);
  EXPECT_EQ(S.Host.Document.View.Operation7Calls, 0);
  S.Host.Store.Fail = false;
  S.Host.Document.View.Fail7 = true;
  EXPECT_THROW(S.Model.Save(S.App()), kx::EHResultError);
  EXPECT_EQ(S.Host.Store.Writes.size(), 23u);
}

}  // namespace
