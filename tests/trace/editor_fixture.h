// An add-on object wired to the fake host, a connection graph and an editor.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "addonkit/custom_addon.h"
#include "fake_map.h"
#include "trace/gully_editor.h"

namespace fake {

inline constexpr GUID TestAddOnID = compat::ParseGuid("{5A1E7C3D-0000-4000-8000-00000000E417}");

struct TPadCounter : trace::TGullyEditorPad {
  void UpdatePadState() override { ++Updates; }
  int Updates = 0;
};

struct EditorTest : ::testing::Test {
  TFakeHost Host;
  std::unique_ptr<kx::TKxCustomAddon> AddOn;
  trace::TGConnectGraph Graph;
  TPadCounter Pad;
  trace::TGullyEditor* Editor = nullptr;  // owned through its IKxEditor

  void SetUp() override {
    AddOn = std::make_unique<kx::TKxCustomAddon>(TestAddOnID, "Test", "Test add-on", 0);
    Host.Attach(*AddOn);
  }
  void TearDown() override {
    if (Editor) Editor->ReleaseOwnReference();
    AddOn.reset();
  }
  trace::TGullyEditor& MakeEditor() {
    Editor = new trace::TGullyEditor(*AddOn, &Pad, &Graph, kx::TKxID::FromUtf8("style1"),
                                     kx::TKxID::FromUtf8("layer1"));
    return *Editor;
  }
  TContour& Trace() { return *Host.Objects.Contours.front(); }
  // Pixel of a map point in the fake view.
  kx::TKxViewPoint Pixel(double X, double Y) {
    std::int32_t DX, DY;
    Host.View.MapToDevice(X, Y, &DX, &DY);
    return {DX, DY};
  }
  void Click(double X, double Y, std::int32_t Shift = 0) {
    Editor->MouseDown(0, Shift, Pixel(X, Y));
  }
};

// Host commands compared field by field (Point and Convexity where used).
inline bool SameCommand(const kx::TKxContourCommand& A, const kx::TKxContourCommand& B) {
  if (A.Kind != B.Kind) return false;
  if (A.Kind == kx::kxCloseArc) return A.CloseConvexity == B.CloseConvexity;
  if (A.Kind == kx::kxClose || A.Kind == kx::kxNone) return true;
  return A.Point.X == B.Point.X && A.Point.Y == B.Point.Y &&
         (A.Kind != kx::kxArcTo || A.Convexity == B.Convexity);
}

inline ::testing::AssertionResult SameCommands(const Commands& Got, const Commands& Want) {
  if (Got.size() != Want.size())
    return ::testing::AssertionFailure()
           << "got " << Got.size() << " commands, want " << Want.size();
  for (size_t I = 0; I < Got.size(); ++I)
    if (!SameCommand(Got[I], Want[I]))
      return ::testing::AssertionFailure()
             << "command " << I << ": kind " << Got[I].Kind << " (" << Got[I].Point.X << ", "
             << Got[I].Point.Y << ", " << Got[I].Convexity << "), want kind " << Want[I].Kind
             << " (" << Want[I].Point.X << ", " << Want[I].Point.Y << ", " << Want[I].Convexity
             << ")";
  return ::testing::AssertionSuccess();
}

}  // namespace fake
