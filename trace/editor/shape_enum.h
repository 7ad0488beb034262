// Reading the selected objects' shapes from the host: a chain of
// enumerators, each adding one stage and handing on to the next through a
// virtual operation. The last stage builds the buffer zone of every shape
// whose style defines geometry and adds it to the trace connection graph.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "addonkit/custom_addon.h"
#include "addonkit/host_calls.h"
#include "addonlib/geometry/contour.h"
#include "trace/engine/buffer_zone.h"
#include "trace/engine/connect_graph.h"

namespace trace {

// One shape handed from stage to stage.
struct TTMShape {
  kx::TKxContour Contour;
};

class TTMObjectEnum {
 public:
  // Context holds the host interfaces (IKxMapObjects, IKxGISDatabase).
  TTMObjectEnum(kx::TKxCustomAddon& AContext, kx::TKxIDsList AIDs);
  virtual ~TTMObjectEnum() = default;
  TTMObjectEnum(const TTMObjectEnum&) = delete;
  TTMObjectEnum& operator=(const TTMObjectEnum&) = delete;

  // Walks the IDs in order, one ProcessObject each. With OnObjectDone set,
  // it is called after every object with the number done and the count;
  // false stops the walk, and Execute then returns false.
  bool Execute();

  kx::TKxIDsList IDs;
  kx::TKxCustomAddon& Context;
  std::int32_t ObjectIndex = 0;
  std::function<bool(std::int32_t Done, std::int32_t Count)> OnObjectDone;

 protected:
  virtual void ProcessObject(const kx::TKxID& ID) = 0;
};

class TTMObjectShapeEnum : public TTMObjectEnum {
 public:
  using TTMObjectEnum::TTMObjectEnum;

  // Shapes handed on so far for the current object.
  std::int32_t ShapeIndex = 0;

 protected:
  void ProcessObject(const kx::TKxID& ID) override;
  virtual void ProcessShape(const TTMShape& Shape, const kx::TKxID& StyleID) = 0;
  virtual void EndShapes() {}
  virtual void BeginShapes(std::int32_t /*Count*/) {}
};

struct TCacheStyleHolder {
  std::int32_t StyleValue1;
  std::int32_t StyleValue2;
  std::uint32_t Flags;
};

class TTMObjectShapeDefineGeometryEnumBase : public TTMObjectShapeEnum {
 public:
  using TTMObjectShapeEnum::TTMObjectShapeEnum;

  // The flag word of a style, from the host once per style and enumerator;
  // sets StyleValue1 and StyleValue2.
  std::uint32_t GetStyleFlags(const kx::TKxID& StyleID);

  std::int32_t StyleValue1 = 0;
  std::int32_t StyleValue2 = 0;

 protected:
  // Hands on the shapes whose style defines geometry; skips the others.
  void ProcessShape(const TTMShape& Shape, const kx::TKxID& StyleID) override;
  virtual void ProcessGeometryShape(const TTMShape& Shape, const kx::TKxID& StyleID) = 0;

 private:
  // Keyed by the style ID without regard to letter case, kept sorted.
  std::map<std::string, TCacheStyleHolder> FStyleCache;
};

class TTMObjectShapeDefineGeometryEnum : public TTMObjectShapeDefineGeometryEnumBase {
 public:
  using TTMObjectShapeDefineGeometryEnumBase::TTMObjectShapeDefineGeometryEnumBase;

 protected:
  void ProcessGeometryShape(const TTMShape& Shape, const kx::TKxID& StyleID) override;
  virtual void ProcessContour(const TTMShape& Shape) = 0;
};

class TTMContourEnumAdd : public TTMObjectShapeDefineGeometryEnum {
 public:
  // Graph is not owned. Width in metres; its absolute value is used, and 0
  // adds the shapes' own contours.
  TTMContourEnumAdd(kx::TKxCustomAddon& AContext, double AWidth, TGConnectGraph& AGraph,
                    kx::TKxIDsList AIDs);

  // Execute that leaves Graph exactly as it was unless every zone is built:
  // the shapes are read first, their zones built on Threads threads (0: one
  // per core) and added in the shapes' order at the end. Progress is told
  // the objects done (by the share of shapes done) a few times a tenth of a
  // second, on the caller's thread; false from it or from Cancel stops the
  // build, and ExecuteAll answers false. An exception also leaves Graph
  // untouched.
  bool ExecuteAll(std::function<bool(std::int32_t Done, std::int32_t Count)> Progress);

  TGConnectGraph& Graph;
  double Width;
  // Asked while a zone is built; true stops ExecuteAll (which then answers
  // false) inside the object at hand, with Graph as it was.
  TZoneCancel Cancel;
  unsigned Threads = 0;

 protected:
  void ProcessContour(const TTMShape& Shape) override;

 private:
  // The shapes read by ExecuteAll; null when adding at once.
  std::vector<std::unique_ptr<geo::TContour>>* FStaged = nullptr;
};

// Appends the host contour's commands, converted, to Contour.
void HostContourToContour(const kx::TKxContour& HostContour, geo::TContour& Contour);
// False for host kind 0 (no command, skipped); an error naming the kind for
// kinds outside 0 to 5.
bool HostCommandToCommand(const kx::TKxContourCommand& HostCmd, geo::TComplexCommand& Cmd);
// The host record of a kernel command.
kx::TKxContourCommand CommandToHostCommand(const geo::TComplexCommand& Cmd);

// Upper case of cp1251 text, letters of the code page's alphabets only.
std::string Cp1251Upper(std::string_view Text);

}  // namespace trace
