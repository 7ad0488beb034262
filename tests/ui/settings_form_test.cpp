#include "ui/settings_form.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "core/exception.h"
#include "tests/ui/fake_host.h"
#include "trace/editor/trace_settings.h"
#include "ui/show_exception.h"
#include "ui_app.h"
#include "ui_settings_form.h"

namespace {

using Form = Ui::SettingsForm;

struct TDialog {
  fake::TApplication Host;
  ui::TSettingsForm Dialog;
  std::vector<QString> Errors;
  ui::TExceptionReporter OldReporter;

  TDialog() {
    OldReporter =
        ui::SetExceptionReporter([this](QWidget*, const QString& M) { Errors.push_back(M); });
  }
  ~TDialog() { ui::SetExceptionReporter(OldReporter); }

  kx::TOrvexApplication App() {
    Host.AddRef();
    return kx::TOrvexApplication(compat::TComPtr<kx::IOrvexApplication>::Attach(&Host));
  }
  void Open() {
    Dialog.SetApplication(App());
    Host.Store.Reads.clear();
  }
  const Form& F() const { return Dialog.Form(); }
  void PressClose() { QTest::mouseClick(F().SettingsCloseButton, Qt::LeftButton); }
  std::string Stored(const std::string& Name) { return Host.Store.Values.at("Trace." + Name); }
};

std::vector<std::string> TableKeys() {
  std::vector<std::string> Keys;
  for (const trace::TSettingInfo& S : trace::TraceSettingTable)
    Keys.push_back(std::string("Trace.") + S.Name);
  return Keys;
}

TEST(SettingsForm, EmptyStoreShowsTheDefaults) {
  TDialog D;
  D.Dialog.SetApplication(D.App());
  EXPECT_EQ(D.Host.Store.Reads, TableKeys());
  const Form& F = D.F();
  EXPECT_EQ(F.SettingsPageControl->currentWidget(), F.SettingsGeneralTabSheet);

  EXPECT_EQ(F.BufferZonePenStyleGrid->Style(), 0);
  EXPECT_EQ(F.BufferZonePenStyleGrid->Color(), 0x008000u);
  EXPECT_EQ(F.BufferZonePenColorBox->Selected(), 0x008000u);
  EXPECT_EQ(F.BufferZoneWidthEdit->text(), "1");
  EXPECT_EQ(F.BufferZonePenForZoomScaleEdit->text(), "0");
  EXPECT_TRUE(F.BufferZoneWidthEdit->isEnabled());
  EXPECT_EQ(F.BufferZoneBrushStyleGrid->Style(), 4);
  EXPECT_EQ(F.BufferZoneBrushStyleGrid->BackColor(), 0xFFFFFFu);
  EXPECT_EQ(F.BufferZoneBrushStyleGrid->HatchColor(), 0x008000u);
  EXPECT_TRUE(F.BufferZoneBrushStyleGrid->Transparency());
  EXPECT_EQ(F.BufferZoneHatchingColorBox->Selected(), 0x008000u);
  EXPECT_EQ(F.BufferZoneTransparentComboBox->currentText(), "Прозрачный");

  EXPECT_EQ(F.TracePenStyleGrid->Style(), 0);
  EXPECT_EQ(F.TracePenColorBox->Selected(), 0x0000FFu);
  EXPECT_EQ(F.TraceWidthEdit->text(), "1");
  EXPECT_EQ(F.TraceBrushStyleGrid->Style(), 5);
  EXPECT_EQ(F.TraceHatchingColorBox->Selected(), 0x0000FFu);
  EXPECT_EQ(F.TraceBackgroundColorBox->Selected(), 0xFFFFFFu);
  EXPECT_EQ(F.TraceTransparentComboBox->currentIndex(), 1);

  EXPECT_EQ(F.GeneralTraceVertexSizeFloatEdit->text(), "0.002");
  EXPECT_EQ(F.GeneralTraceVertexSizeForZoomScaleFloatEdit->text(), "0");
  EXPECT_EQ(F.GeneralTraceVertexPenWidthFloatEdit->text(), "0");
  EXPECT_EQ(F.GeneralTraceVertexPenWidthForZoomScaleFloatEdit->text(), "0");
  EXPECT_EQ(F.GeneralTraceVertexPenColorBox->Selected(), 0xFF0000u);
  EXPECT_EQ(F.GeneralTraceVertexBrushColorBox->Selected(), 0xFFFFFFu);
  EXPECT_EQ(F.GeneralTraceVertexBrushTransparencyComboBox->currentText(), "Сплошной");
}

TEST(SettingsForm, CloseButtonRewritesTheSameValues) {
  TDialog D;
  D.Open();
  D.PressClose();
  EXPECT_EQ(D.Dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(D.Errors.empty());
  EXPECT_EQ(D.Host.Store.Writes, TableKeys());
  EXPECT_EQ(D.Host.Document.View.Operation7Calls, 1);
  EXPECT_EQ(D.Stored("BufferZonePenColor"), "32768");
  EXPECT_EQ(D.Stored("BufferZoneWidth"), "1");
  EXPECT_EQ(D.Stored("TracePenColor"), "255");
  EXPECT_EQ(D.Stored("VertexTracePenColor"), "16711680");
  EXPECT_EQ(D.Stored("VertexTraceSize"), "0.002");
  EXPECT_EQ(trace::ReadTraceSettings(D.App()), trace::TTraceSettings());

  // Opened again on what it wrote, it writes the same once more.
  const auto First = D.Host.Store.Values;
  TDialog Again;
  Again.Host.Store.Values = First;
  Again.Open();
  Again.PressClose();
  EXPECT_EQ(Again.Host.Store.Values, First);
}

TEST(SettingsForm, StoredValuesRoundTrip) {
  TDialog D;
  auto& V = D.Host.Store.Values;
  V["Trace.BufferZonePenStyle"] = "6";  // inside frame shows as solid
  V["Trace.BufferZonePenColor"] = "-16777216";
  V["Trace.BufferZoneWidth"] = "0,5";
  V["Trace.BufferZonePenForZoomScale"] = "2000";
  V["Trace.BufferZoneBrushStyle"] = "7";
  V["Trace.BufferZoneBackColor"] = "1193046";  // 0x123456, no standard colour
  V["Trace.BufferZoneTransparency"] = "0";
  V["Trace.TracePenStyle"] = "3";
  V["Trace.TraceWidth"] = "2.25";
  V["Trace.VertexTraceSize"] = "0.0125";
  V["Trace.VertexTraceBrushTransparency"] = "1";
  D.Open();
  const Form& F = D.F();
  EXPECT_EQ(F.BufferZonePenStyleGrid->Style(), 0);
  EXPECT_EQ(F.BufferZoneWidthEdit->text(), "0.5");
  EXPECT_EQ(F.BufferZoneBrushStyleGrid->Style(), 7);
  EXPECT_EQ(F.BufferZoneBackgroundColorBox->Selected(), 0x123456u);
  EXPECT_EQ(F.BufferZoneTransparentComboBox->currentIndex(), 0);
  EXPECT_FALSE(F.TraceWidthEdit->isEnabled());  // dash-dot
  EXPECT_FALSE(F.TracePenForZoomScaleEdit->isEnabled());
  EXPECT_EQ(F.GeneralTraceVertexBrushTransparencyComboBox->currentIndex(), 1);
  D.PressClose();
  EXPECT_EQ(D.Stored("BufferZonePenStyle"), "0");
  EXPECT_EQ(D.Stored("BufferZonePenColor"), "-16777216");
  EXPECT_EQ(D.Stored("BufferZoneWidth"), "0.5");
  EXPECT_EQ(D.Stored("BufferZonePenForZoomScale"), "2000");
  EXPECT_EQ(D.Stored("BufferZoneBackColor"), "1193046");
  EXPECT_EQ(D.Stored("TracePenStyle"), "3");
  EXPECT_EQ(D.Stored("TraceWidth"), "2.25");  // disabled, still saved
  EXPECT_EQ(D.Stored("VertexTraceSize"), "0.0125");
  EXPECT_EQ(D.Stored("VertexTraceBrushTransparency"), "1");
}

TEST(SettingsForm, ControlsAreCoupled) {
  TDialog D;
  D.Open();
  const Form& F = D.F();
  F.BufferZonePenStyleGrid->resize(150, 40);
  const QRect Dash = F.BufferZonePenStyleGrid->CellRect(1, 0);
  QTest::mouseClick(F.BufferZonePenStyleGrid, Qt::LeftButton, {}, Dash.center());
  EXPECT_EQ(F.BufferZonePenStyleGrid->Style(), 1);
  EXPECT_FALSE(F.BufferZoneWidthEdit->isEnabled());
  EXPECT_FALSE(F.BufferZonePenForZoomScaleEdit->isEnabled());
  EXPECT_TRUE(F.TraceWidthEdit->isEnabled());
  F.BufferZonePenStyleGrid->SetStyle(0);
  EXPECT_TRUE(F.BufferZoneWidthEdit->isEnabled());

  F.TracePenColorBox->SetSelected(0x00FFFF);
  EXPECT_EQ(F.TracePenStyleGrid->Color(), 0x00FFFFu);
  F.TraceBackgroundColorBox->SetSelected(0x000080);
  F.TraceHatchingColorBox->SetSelected(0x808080);
  F.TraceTransparentComboBox->setCurrentIndex(0);
  EXPECT_EQ(F.TraceBrushStyleGrid->BackColor(), 0x000080u);
  EXPECT_EQ(F.TraceBrushStyleGrid->HatchColor(), 0x808080u);
  EXPECT_FALSE(F.TraceBrushStyleGrid->Transparency());
  D.PressClose();
  EXPECT_EQ(D.Stored("BufferZonePenStyle"), "0");
  EXPECT_EQ(D.Stored("TracePenColor"), std::to_string(0x00FFFF));
  EXPECT_EQ(D.Stored("TraceBackColor"), std::to_string(0x000080));
  EXPECT_EQ(D.Stored("TraceHatchColor"), std::to_string(0x808080));
  EXPECT_EQ(D.Stored("TraceTransparency"), "0");
}

TEST(SettingsForm, OtherClosesWriteNothing) {
  TDialog D;
  D.Host.Store.Values["Trace.TraceWidth"] = "3";
  D.Open();
  D.Dialog.show();
  D.F().TraceWidthEdit->setText("4");
  D.F().TracePenStyleGrid->SetStyle(2);
  D.Dialog.close();
  EXPECT_EQ(D.Dialog.result(), QDialog::Rejected);
  EXPECT_EQ(D.Host.Document.View.Operation7Calls, 0);
  D.Dialog.show();
  QTest::keyClick(&D.Dialog, Qt::Key_Escape);
  EXPECT_FALSE(D.Dialog.isVisible());
  EXPECT_TRUE(D.Host.Store.Writes.empty());
  EXPECT_EQ(D.Stored("TraceWidth"), "3");
}

TEST(SettingsForm, UnreadableNumbersAreNeitherLoadedNorSaved) {
  {
    TDialog D;
    D.Host.Store.Values["Trace.BufferZoneWidth"] = "1.5x";
    EXPECT_THROW(D.Dialog.SetApplication(D.App()), core::EConvertError);
  }
  TDialog D;
  D.Open();
  const Form& F = D.F();
  F.TraceWidthEdit->setText("");
  D.PressClose();
  EXPECT_EQ(D.Errors, std::vector<QString>{"Ошибка: Введите число"});
  EXPECT_EQ(F.SettingsPageControl->currentWidget(), F.SettingsTraceTabSheet);
  F.TraceWidthEdit->setText("2");
  F.GeneralTraceVertexSizeForZoomScaleFloatEdit->setText("5-5");
  D.PressClose();
  EXPECT_EQ(D.Errors.back(), "Ошибка: не могу преобразовать строку \"5-5\" в число");
  EXPECT_TRUE(D.Host.Store.Writes.empty());
  EXPECT_NE(D.Dialog.result(), QDialog::Accepted);
  F.GeneralTraceVertexSizeForZoomScaleFloatEdit->setText("5");
  D.PressClose();
  EXPECT_EQ(D.Host.Store.Writes.size(), 23u);
  EXPECT_EQ(D.Dialog.result(), QDialog::Accepted);
}

TEST(SettingsForm, HostFailureWhileSavingKeepsTheDialogOpen) {
  TDialog D;
  D.Open();
  D.Host.Store.Fail = true;
  D.PressClose();
  ASSERT_EQ(D.Errors.size(), 1u);
  EXPECT_NE(D.Dialog.result(), QDialog::Accepted);
  EXPECT_EQ(D.Host.Document.View.Operation7Calls, 0);
  // The settings are stored when the view's call fails.
  D.Host.Store.Fail = false;
  D.Host.Document.View.Fail7 = true;
  D.PressClose();
  EXPECT_EQ(D.Errors.size(), 2u);
  EXPECT_EQ(D.Host.Store.Writes.size(), 23u);
  EXPECT_NE(D.Dialog.result(), QDialog::Accepted);
}

TEST(SettingsForm, TreeSwitchesPagesAndScreenshots) {
  TDialog D;
  D.Open();
  D.Dialog.show();
  const Form& F = D.F();
  QDir().mkpath(TRACE_SCREENSHOT_DIR);
  const std::pair<int, QWidget*> Pages[] = {{0, F.SettingsGeneralTabSheet},
                                            {1, F.SettingsBufferZoneTabSheet},
                                            {2, F.SettingsTraceTabSheet}};
  const char* Files[] = {"settings_vertices.png", "settings_buffer_zone.png", "settings_trace.png"};
  for (const auto& [Node, Page] : Pages) {
    F.SettingsTreeView->setCurrentItem(F.SettingsTreeView->topLevelItem(Node));
    EXPECT_EQ(F.SettingsPageControl->currentWidget(), Page);
    const QString File = QString(TRACE_SCREENSHOT_DIR "/") + Files[Node];
    EXPECT_TRUE(D.Dialog.grab().save(File));
  }
  EXPECT_EQ(D.Dialog.windowTitle(), "Настройки");
  EXPECT_EQ(D.Dialog.size(), QSize(413, 425));
}

}  // namespace
