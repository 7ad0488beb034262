// The host calls methods by their slot in the vtable; a missing reserved
// slot would silently shift every later method.
#include <gtest/gtest.h>

#include <cstring>

#include "hostapi/kx_interfaces.h"
#include "hostapi/orvex_interfaces.h"

namespace {

// Slot of a virtual member function in the Itanium C++ ABI: the member
// pointer holds 1 + the byte offset of its vtable entry.
template <class F>
long Slot(F Method) {
  static_assert(sizeof(F) == 2 * sizeof(std::ptrdiff_t));
  std::ptrdiff_t Raw[2];
  std::memcpy(Raw, &Method, sizeof Raw);
  return static_cast<long>((Raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
}

constexpr long IUnknownSlots = 3;
constexpr long IDispatchSlots = 7;

TEST(HostInterfaces, OwnMethodsSitAtTheirDocumentedIndexes) {
  using namespace kx;
  EXPECT_EQ(Slot(&IKxAddOn::GetInfo), IUnknownSlots + 0);
  EXPECT_EQ(Slot(&IKxAddOn::SaveBitmap), IUnknownSlots + 6);
  EXPECT_EQ(Slot(&IKxEditor::GetContextMacros), IUnknownSlots + 10);
  EXPECT_EQ(Slot(&IKxEditor::Paint), IUnknownSlots + 13);
  EXPECT_EQ(Slot(&IKxMacroAttrsList::Insert), IUnknownSlots + 3);
  EXPECT_EQ(Slot(&IKxContextMacroAttrsList::Insert), IUnknownSlots + 3);
  EXPECT_EQ(Slot(&IKxAddOnManager::GetApplicationWindow), IUnknownSlots + 1);
  EXPECT_EQ(Slot(&IKxErrorInfo::GetLastError), IUnknownSlots + 1);

  EXPECT_EQ(Slot(&IKxMapView::Operation5), IUnknownSlots + 5);
  EXPECT_EQ(Slot(&IKxMapView::GetSelection), IUnknownSlots + 7);
  EXPECT_EQ(Slot(&IKxMapView::SetEditor), IUnknownSlots + 16);
  EXPECT_EQ(Slot(&IKxMapView::Invalidate), IUnknownSlots + 19);
  EXPECT_EQ(Slot(&IKxMapView::Operation27), IUnknownSlots + 27);
  EXPECT_EQ(Slot(&IKxMapView::MapToDevice), IUnknownSlots + 29);
  EXPECT_EQ(Slot(&IKxMapView::DeviceToMap), IUnknownSlots + 30);
  EXPECT_EQ(Slot(&IKxEditorOverlay::PaintOverlay), IUnknownSlots + 0);
  EXPECT_EQ(Slot(&IKxMapViewOverlay::GetClientSize), IUnknownSlots + 1);

  EXPECT_EQ(Slot(&IKxMapObjects::CreateObject), IUnknownSlots + 2);
  EXPECT_EQ(Slot(&IKxMapObjects::GetObjectShapes), IUnknownSlots + 4);
  EXPECT_EQ(Slot(&IKxShapeList::AddShape), IUnknownSlots + 1);
  EXPECT_EQ(Slot(&IKxShapeList::GetCount), IUnknownSlots + 4);
  EXPECT_EQ(Slot(&IKxShapeList::GetShapeStyle), IUnknownSlots + 6);
  EXPECT_EQ(Slot(&IKxIDsList::GetCount), IUnknownSlots + 1);
  EXPECT_EQ(Slot(&IKxContour::AddCommand), IUnknownSlots + 3);
  EXPECT_EQ(Slot(&IKxContour::DeleteCommand), IUnknownSlots + 6);
  EXPECT_EQ(Slot(&IKxContour::GetCommandCount), IUnknownSlots + 8);
  EXPECT_EQ(Slot(&IKxMapProject::GetMaps), IUnknownSlots + 7);
  EXPECT_EQ(Slot(&IKxGISDatabase::GetMapInfo), IUnknownSlots + 5);
  EXPECT_EQ(Slot(&IKxGISDatabase::GetStyle), IUnknownSlots + 9);
  EXPECT_EQ(Slot(&IKxStyle::GetStyleInfo), IUnknownSlots + 2);
  EXPECT_EQ(Slot(&IKxParamsList::GetParam), IUnknownSlots + 0);

  EXPECT_EQ(Slot(&IOrvexApplication::GetActiveDocument), IDispatchSlots + 0);
  EXPECT_EQ(Slot(&IOrvexApplication::GetSettingsStore), IDispatchSlots + 4);
  EXPECT_EQ(Slot(&IOrvexApplication::CreateContour), IDispatchSlots + 5);
  EXPECT_EQ(Slot(&IOrvexSettingsStore::WriteValue), IDispatchSlots + 1);
  EXPECT_EQ(Slot(&IOrvexDocument::GetMapView), IDispatchSlots + 1);
  EXPECT_EQ(Slot(&IOrvexMapView::Operation7), IDispatchSlots + 7);
  EXPECT_EQ(Slot(&IOrvexViewport::Operation10), IDispatchSlots + 10);
  EXPECT_EQ(Slot(&IOrvexCanvas::GetPen), IDispatchSlots + 5);
  EXPECT_EQ(Slot(&IOrvexCanvas::DrawContour), IDispatchSlots + 8);
  EXPECT_EQ(Slot(&IOrvexPen::SetMode), IDispatchSlots + 9);
  EXPECT_EQ(Slot(&IOrvexBrush::SetTransparency), IDispatchSlots + 7);
  EXPECT_EQ(Slot(&IOrvexContour::AddPart), IDispatchSlots + 3);
  EXPECT_EQ(Slot(&IOrvexContourPart::SetClosed), IDispatchSlots + 5);
}

}  // namespace
