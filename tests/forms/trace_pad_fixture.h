// What the trace pad model's suites share: a recording view that stands for
// the window, and a fixture with the reference host's small project, the
// add-on connected and helpers for selection, clicks and stored values.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "addon/trace_addon.h"
#include "addonkit/com_server.h"
#include "forms/trace_pad_model.h"
#include "host/com/host_com_manager.h"
#include "host/model/small_project.h"

namespace padtest {

using forms::TPadAction;
using host::MakeID;

constexpr double X0 = 500000, Y0 = 6000000;

class TRecordingView : public forms::TTracePadView {
 public:
  void PadChanged(unsigned Changes) override { AllChanges |= Changes; }
  void ShowError(const std::string& Message) override { Errors.push_back(Message); }
  bool Confirm(const std::string& Question) override {
    Steps.push_back(Question);
    return Answer;
  }
  void BeginProgress(const std::string&, const std::string& CancelText, int Total) override {
    Steps.push_back(CancelText + " " + std::to_string(Total));
  }
  bool StepProgress(const std::string& Text, int Done) override {
    Steps.push_back(Text);
    return Done < CancelAfter;
  }
  void EndProgress() override { Steps.push_back("end"); }
  bool ChooseFromProjectTree(const std::string& Caption, std::uint8_t Kind,
                             kx::TKxID& ID) override {
    Steps.push_back(Caption + " " + std::to_string(Kind));
    return Choose && Choose(ID);
  }
  void ShowSettingsDialog(const kx::TOrvexApplication&) override { Steps.push_back("settings"); }
  forms::TPadPlacement Placement() const override { return Current; }
  std::optional<forms::TPadRect> WorkArea(const forms::TPadRect&) const override { return Area; }
  std::optional<forms::TPadRect> OwnerBounds() const override { return Owner; }
  void Place(const forms::TPadPlacement& P) override { Current = P; }

  unsigned AllChanges = 0;
  std::vector<std::string> Errors, Steps;
  int CancelAfter = 1 << 30;
  bool Answer = true;
  std::function<bool(kx::TKxID&)> Choose;
  forms::TPadPlacement Current{{100, 100, 292, 168}, forms::TPadWindowState::Normal};
  std::optional<forms::TPadRect> Area = forms::TPadRect{0, 0, 1280, 1024};
  std::optional<forms::TPadRect> Owner;
};

class TracePadModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host::AddSmallProject(Host->Project());
    Host->MapView().SetTransform({X0 + 75, Y0 + 60, 0.2, 800, 600});
    // Owned by its class factory; destroyed with the server below.
    AddOn = new kx::TTraceAddOn;
    kx::TraceAddOn = AddOn;
    AddOn->Connect(Host.get());
  }
  void TearDown() override {
    Pad.reset();
    if (AddOn->Connected) AddOn->Disconnect();
    Host->MapView().DropEditor();
    kx::DestroyComServer();
    kx::TraceAddOn = nullptr;
    std::filesystem::remove(SettingsPath);
  }

  forms::TTracePadModel& Open() {
    Pad = std::make_unique<forms::TTracePadModel>(*AddOn, View);
    return *Pad;
  }
  // The host tells the pad of a new selection.
  void Select(std::vector<kx::TKxID> IDs) {
    Host->MapView().SetSelection(std::move(IDs));
    Pad->UpdatePadState();
  }
  void ClickAt(double X, double Y) {
    std::int32_t DX = 0, DY = 0;
    ASSERT_EQ(Host->MapView().MapToDevice(X, Y, &DX, &DY), S_OK);
    ASSERT_EQ(Host->MapView().Editor()->MouseDown(0, 0, DX, DY), S_OK);
  }
  std::uint32_t EditorOptions() {
    std::uint32_t Options = 99;
    EXPECT_EQ(Host->MapView().Editor()->GetOptions(&Options), S_OK);
    return Options;
  }
  std::string Stored(const char* Key) { return Host->Settings().Value(1, Key).value_or("none"); }

  // One file per process: the tests may run side by side.
  const std::string SettingsPath = (std::filesystem::temp_directory_path() /
                                    ("trace-forms-" + std::to_string(::getpid()) + ".ini"))
                                       .string();
  std::unique_ptr<host::THostComManager> Host =
      std::make_unique<host::THostComManager>(SettingsPath);
  kx::TTraceAddOn* AddOn = nullptr;
  TRecordingView View;
  std::unique_ptr<forms::TTracePadModel> Pad;
};

}  // namespace padtest
