#pragma once

#include <array>
#include <optional>

#include "core/check/carved_result.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"
#include "core/model/model_transform.h"
#include "view3d/view_state.h"

// The fixed-function OpenGL drawing of a 3D view, with no window system in it: the
// caller owns the drawing context and makes it current before any call here.
namespace vantora {

// Display list identifiers, the same in every view's context.
inline constexpr unsigned GridList = 222;   // the floor grid
inline constexpr unsigned ModelList = 10;   // the first model
inline constexpr unsigned SecondList = 20;  // scans added to the view after it
inline constexpr unsigned CarvedList = 30;  // the carved result's solid

// Depth test, two-sided lighting with two positional lights fixed in eye space, smooth
// shading, and the projection for a client area of `width` x `height` pixels.
void InitGL(int width, int height);
// Viewport and perspective (60 degrees, between the planes of `depth`) for a client
// area of `width` x `height` pixels.
void SetProjection(int width, int height, DepthRange depth = {});
// Multiplies the camera of `view` onto the modelview matrix.
void ApplyViewTransform(const ViewState& view);
// Clears and replays the lists under the camera of `view`; false when the library
// reported an error.
bool DrawLists(const ViewState& view, bool withSecondList);

// The colour of `left` mm of material on the carved view's scale up to `full` mm: green
// where little is left, through cyan to blue where most is. Red is kept for the cuts.
std::array<float, 3> MaterialColour(double left, double full);
inline constexpr std::array<float, 3> kCutColour{0.95f, 0.1f, 0.1f};

// The carved-result view's lists, compiled in its current context: the store's floor
// grid, the model (ModelList, a full green on both sides, red where the program takes
// it) and the solid (CarvedList, each facet in the colour of the material it leaves,
// on a scale up to `full` mm); false when the library reported an error.
bool CompileCarvedScene(const TDataModule1& store, const FacetTable& model,
                        const FacetTable& solid, const CarvedColouring& colours, double full);
// Clears and draws the carved-result view under the camera of `view`: the grid and,
// with `model`, the model and then the solid over it, translucent and far side first;
// without, the solid alone, opaque. False when the library reported an error.
bool DrawCarvedScene(const ViewState& view, bool model);
// Deletes the carved-result view's lists from the current context.
void ReleaseCarvedScene();

// What the floor grid shows: lines around MaxX and MaxY at the scale of the moment it
// was asked for.
struct GridContent {
  double MaxX, MaxY;
  float ViewDistance;

  static GridContent Of(const TDataModule1& store);
};

// A stretch of a facet table for one list, with the scaling of the moment it was asked
// for.
struct FacetContent {
  unsigned List;
  int First, End;
  bool FileNormals;
  float ViewDistance;

  static FacetContent Of(unsigned list, int first, const FacetTable& table,
                         const TDataModule1& store);
};

// The three display lists of one view: what each should hold is decided when asked
// (BuildGridList, BuildModelList) and compiled from the facet table when the view's
// context is current next (CompilePending), so a view that has not been shown yet
// loses nothing.
class SceneLists {
 public:
  bool SecondListBuilt = false;
  int SecondListStart = 0;  // first facet of the scans shown by SecondList

  // The floor grid around the store's MaxX and MaxY, lines 10 model units apart.
  void BuildGridList(const TDataModule1& store);
  // The grid, then the facets not compiled yet (from FirstNewFacet): into ModelList,
  // or, when scans are added to a view that already shows a model, through the
  // import dialog's turn into SecondList, which then shows every scan added
  // after the first model; when that transform turns the model, ModelList is
  // recompiled as well. Recompiling the whole table (FirstNewFacet 0) puts it all
  // into ModelList. Returns the dimensions the transform asks to show, if any.
  std::optional<TurnedDimensions> BuildModelList(TDataModule1& store, FacetTable& table,
                                                 int scanFileCount,
                                                 const ModelTurnRequest& importTurn);

  // Compiles what was asked since the last call; false when the library reported an
  // error (for example no memory for a list).
  bool CompilePending(const FacetTable& table);
  // Deletes the three lists from the current context.
  static void Release();

 private:
  std::optional<GridContent> grid_;
  std::optional<FacetContent> model_;
  std::optional<FacetContent> second_;
};

}  // namespace vantora
