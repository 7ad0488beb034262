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

TEST(SettingsForm, ShowsTheModelsState) {
  TDialog D;
  D.Host.Store.Values["Trace.TracePenStyle"] = "3";
  D.Host.Store.Values["Trace.VertexTracePenColor"] = "1193046";  // no standard colour
  D.Dialog.SetApplication(D.App());
  EXPECT_EQ(D.Host.Store.Reads, TableKeys());
  const Form& F = D.F();
  EXPECT_EQ(F.SettingsPageControl->currentWidget(), F.SettingsGeneralTabSheet);
  EXPECT_EQ(F.SettingsTreeView->currentItem(), F.SettingsTreeView->topLevelItem(0));
  EXPECT_EQ(&F.BufferZonePenStyleGrid->Model(), &D.Dialog.Model().BufferZonePen);
  EXPECT_EQ(F.BufferZonePenStyleGrid->Model().Style(), 0);
  EXPECT_EQ(F.BufferZonePenStyleGrid->ColCount(), 3);
  EXPECT_EQ(F.BufferZoneBrushStyleGrid->ColCount(), 4);
  EXPECT_EQ(F.BufferZonePenColorBox->Selected(), 0x008000u);
  EXPECT_EQ(F.BufferZoneWidthEdit->text(), "1");
  EXPECT_TRUE(F.BufferZoneWidthEdit->isEnabled());
  EXPECT_FALSE(F.TraceWidthEdit->isEnabled());  // dash-dot
  EXPECT_FALSE(F.TracePenForZoomScaleEdit->isEnabled());
  EXPECT_EQ(F.BufferZoneHatchingColorBox->Selected(), 0x008000u);
  EXPECT_EQ(F.BufferZoneTransparentComboBox->currentText(), "Прозрачный");
  EXPECT_EQ(F.TraceBackgroundColorBox->Selected(), 0xFFFFFFu);
  EXPECT_EQ(F.GeneralTraceVertexSizeFloatEdit->text(), "0.002");
  EXPECT_EQ(F.GeneralTraceVertexPenColorBox->Selected(), 0x123456u);
  EXPECT_EQ(F.GeneralTraceVertexPenColorBox->currentText(), "Другой");
  EXPECT_EQ(F.GeneralTraceVertexBrushTransparencyComboBox->currentText(), "Сплошной");
}

TEST(SettingsForm, ControlsAreCoupled) {
  TDialog D;
  D.Open();
  const Form& F = D.F();
  F.BufferZonePenStyleGrid->resize(150, 40);
  const QRect Dash = F.BufferZonePenStyleGrid->CellRect(1, 0);
  QTest::mouseClick(F.BufferZonePenStyleGrid, Qt::LeftButton, {}, Dash.center());
  EXPECT_EQ(F.BufferZonePenStyleGrid->Model().Style(), 1);
  EXPECT_FALSE(F.BufferZoneWidthEdit->isEnabled());
  EXPECT_FALSE(F.BufferZonePenForZoomScaleEdit->isEnabled());
  EXPECT_TRUE(F.TraceWidthEdit->isEnabled());
  F.BufferZonePenStyleGrid->Model().SetStyle(0);
  EXPECT_TRUE(F.BufferZoneWidthEdit->isEnabled());

  F.TracePenColorBox->SetSelected(0x00FFFF);
  EXPECT_EQ(F.TracePenStyleGrid->Model().Color(), 0x00FFFFu);
  F.TraceBackgroundColorBox->SetSelected(0x000080);
  F.TraceHatchingColorBox->SetSelected(0x808080);
  F.TraceTransparentComboBox->setCurrentIndex(0);
  EXPECT_EQ(F.TraceBrushStyleGrid->Model().BackColor(), 0x000080u);
  EXPECT_EQ(F.TraceBrushStyleGrid->Model().HatchColor(), 0x808080u);
  EXPECT_FALSE(F.TraceBrushStyleGrid->Model().Transparency());
  D.PressClose();
  EXPECT_EQ(D.Stored("BufferZonePenStyle"), "0");
  EXPECT_EQ(D.Stored("TracePenColor"), std::to_string(0x00FFFF));
  EXPECT_EQ(D.Stored("TraceBackColor"), std::to_string(0x000080));
  EXPECT_EQ(D.Stored("TraceHatchColor"), std::to_string(0x808080));
  EXPECT_EQ(D.Stored("TraceTransparency"), "0");
}

// Each change shows on the map at once; any other close than the button
// puts the stored values back.
TEST(SettingsForm, ChangesArePreviewedAndOtherClosesPutThemBack) {
  TDialog D;
  D.Host.Store.Values["Trace.TraceWidth"] = "3";
  D.Open();
  D.Dialog.show();
  D.F().TraceWidthEdit->setText("4");
  D.F().TracePenColorBox->SetSelected(0x00FFFF);
  EXPECT_EQ(D.Stored("TraceWidth"), "4");
  EXPECT_EQ(D.Stored("TracePenColor"), std::to_string(0x00FFFF));
  EXPECT_EQ(D.Host.Document.View.Operation7Calls, 2);
  EXPECT_EQ(D.Host.Store.Writes.size(), 2u) << "what changed, not all 23";
  D.Dialog.close();
  EXPECT_EQ(D.Dialog.result(), QDialog::Rejected);
  EXPECT_EQ(D.Stored("TraceWidth"), "3");
  EXPECT_EQ(D.Stored("TracePenColor"), trace::NoSettingValue);
  EXPECT_EQ(D.Host.Document.View.Operation7Calls, 3);
  D.Dialog.show();
  QTest::keyClick(&D.Dialog, Qt::Key_Escape);
  EXPECT_FALSE(D.Dialog.isVisible());
}

TEST(SettingsForm, AnUnreadableNumberIsShownOnItsPage) {
  TDialog D;
  D.Open();
  const Form& F = D.F();
  F.TraceWidthEdit->setText("");
  D.PressClose();
  EXPECT_EQ(D.Errors, std::vector<QString>{"Ошибка: Введите число"});
  EXPECT_EQ(F.SettingsPageControl->currentWidget(), F.SettingsTraceTabSheet);
  EXPECT_EQ(F.SettingsTreeView->currentItem(), F.SettingsTreeView->topLevelItem(2));
  EXPECT_TRUE(D.Host.Store.Writes.empty());
  EXPECT_NE(D.Dialog.result(), QDialog::Accepted);
  F.TraceWidthEdit->setText("2");
  const std::size_t Previewed = D.Host.Store.Writes.size();
  D.PressClose();
  EXPECT_EQ(D.Host.Store.Writes.size() - Previewed, 23u);
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
