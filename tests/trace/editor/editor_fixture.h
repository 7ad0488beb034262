// An add-on object connected to the host's map model (the in-process test
// host), a connection graph and a trace editor over them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "addonkit/custom_addon.h"
#include "host/com/host_values.h"
#include "host/model/map_model.h"
#include "tests/support/test_host.h"
#include "trace/editor/gully_editor.h"

namespace tracetest {

using Commands = host::THostCommands;
using host::HostArcTo;
using host::HostClose;
using host::HostCloseArc;
using host::HostLineTo;
using host::HostMoveTo;
using host::MakeID;

inline constexpr GUID TestAddOnID = compat::ParseGuid("{5A1E7C3D-0000-4000-8000-00000000E417}");

struct TPadCounter : trace::TGullyEditorPad {
  void UpdatePadState() override { ++Updates; }
  void TraceKeyCommand(trace::TTraceKeyCommand Command) override { Commands.push_back(Command); }
  int Updates = 0;
  std::vector<trace::TTraceKeyCommand> Commands;
};

// A host style that defines geometry (or not), drawn as a line.
inline host::THostStyle GeometryStyle(const std::string& ID, bool Defines = true) {
  host::THostStyle S;
  S.ID = MakeID(ID);
  S.Name = ID;
  S.Flags = Defines ? kx::kxStyleDefinesGeometry : 0x10;
  return S;
}

struct EditorTest : ::testing::Test {
  host::TTestHost Host;
  std::unique_ptr<kx::TKxCustomAddon> AddOn;
  trace::TGConnectGraph Graph;
  TPadCounter Pad;
  trace::TGullyEditor* Editor = nullptr;  // owned through its IKxEditor

  void SetUp() override {
    // One map with the layer "layer1" of the style "style1".
    host::THostProject& P = Host.Project();
    P.AddMap(MakeID("map"), "Map");
    AddLayer("layer1", {"style1"});
    AddOn = std::make_unique<kx::TKxCustomAddon>(TestAddOnID, "Test", "Test add-on", 0);
    AddOn->Connect(Host.AddOnManager());
  }
  void TearDown() override {
    if (Editor) Editor->ReleaseOwnReference();
    if (AddOn->Connected) AddOn->Disconnect();
    AddOn.reset();
  }
  // A layer of the map with new styles of these names, each defining
  // geometry unless listed in NoGeometry.
  void AddLayer(const std::string& Layer, const std::vector<std::string>& Styles,
                const std::vector<std::string>& NoGeometry = {}) {
    host::THostProject& P = Host.Project();
    P.AddLayer(MakeID("map"), MakeID(Layer), Layer);
    for (const std::string& S : Styles) {
      P.AddStyle(GeometryStyle(S));
      P.AttachStyle(MakeID(Layer), MakeID(S));
    }
    for (const std::string& S : NoGeometry) {
      P.AddStyle(GeometryStyle(S, false));
      P.AttachStyle(MakeID(Layer), MakeID(S));
    }
  }
  // Centre of the view, metres per pixel; 800 × 600 pixels.
  void SetView(double CX, double CY, double Scale) {
    Host.View().SetTransform({CX, CY, Scale, 800, 600});
  }
  trace::TGullyEditor& MakeEditor() {
    Editor = new trace::TGullyEditor(*AddOn, &Pad, &Graph, kx::TKxID::FromUtf8("style1"),
                                     kx::TKxID::FromUtf8("layer1"));
    return *Editor;
  }
  // The trace as the host's contour holds it.
  Commands Trace() const { return host::ReadContour(Editor->TraceContour.Intf()); }
  // Pixel of a map point in the host's view.
  kx::TKxViewPoint Pixel(double X, double Y) {
    std::int32_t DX, DY;
    EXPECT_EQ(Host.View().MapToDevice(X, Y, &DX, &DY), S_OK);
    return {DX, DY};
  }
  void Click(double X, double Y, std::int32_t Shift = 0) {
    Editor->MouseDown(0, Shift, Pixel(X, Y));
  }
  // The objects of a layer, in the order they were made.
  std::vector<const host::THostMapObject*> Objects(const std::string& Layer) {
    return Host.Project().Objects(MakeID(Layer));
  }
};

inline std::string CommandsText(const Commands& List) {
  std::ostringstream S;
  S.precision(17);
  for (const kx::TKxContourCommand& C : List) {
    S << "\n  kind " << C.Kind;
    if (C.Kind >= kx::kxMoveTo && C.Kind <= kx::kxArcTo)
      S << " (" << C.Point.X << ", " << C.Point.Y;
    if (C.Kind == kx::kxArcTo) S << ", " << C.Convexity;
    if (C.Kind >= kx::kxMoveTo && C.Kind <= kx::kxArcTo) S << ")";
    if (C.Kind == kx::kxCloseArc) S << " (" << C.CloseConvexity << ")";
  }
  return S.str();
}

// The host's comparison (kinds, and bitwise the numbers each kind carries),
// with both lists shown on failure.
inline ::testing::AssertionResult SameCommands(const Commands& Got, const Commands& Want) {
  if (host::SameCommands(Got, Want)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got:" << CommandsText(Got) << "\nwant:" << CommandsText(Want);
}

}  // namespace tracetest
