#include "view3d/gl_scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

namespace vantora {
namespace {

constexpr GLfloat kLightAmbient[] = {0.5f, 0.5f, 0.5f, 0.1f};
constexpr GLfloat kLightSpecular[] = {0.0f, 0.0f, 0.0f, 0.0f};
// With w = 0.1 both lights are positional, at (15, 10, 15) and (-15, 10, 15) in eye
// space: they stay where they are when the model turns.
constexpr GLfloat kLight0Position[] = {1.5f, 1.0f, 1.5f, 0.1f};
constexpr GLfloat kLight1Position[] = {-1.5f, 1.0f, 1.5f, 0.1f};

constexpr GLfloat kGridGreen[] = {0.0f, 1.0f, 0.0f, 0.8f};
constexpr GLfloat kGridRed[] = {1.0f, 0.0f, 0.0f, 0.8f};
constexpr GLfloat kModelAmbient[] = {0.1f, 0.23f, 0.01f, 0.8f};
// The model under the carved solid: a full green, where the library's grey diffuse
// would pale it towards the solid's blue.
constexpr GLfloat kCarvedModelDiffuse[] = {0.15f, 0.75f, 0.2f, 1.0f};
// The carved solid: a blue glass through which the model's green shows. Lit vertices
// take their alpha from the diffuse colour; a low ambient lets the light model its
// shape.
constexpr GLfloat kCarvedAmbient[] = {0.08f, 0.12f, 0.3f, 0.4f};
constexpr GLfloat kCarvedDiffuse[] = {0.35f, 0.55f, 1.0f, 0.4f};

constexpr float kGridStep = 10.0f;

void Perspective(int width, int height, DepthRange depth = {}) {
  const float aspect = float(width) / float(height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, aspect, depth.Near, depth.Far);
  glMatrixMode(GL_MODELVIEW);
}

// Forgets errors left by others, so that a check after our calls sees only ours.
void ClearErrors() {
  while (glGetError() != GL_NO_ERROR) {
  }
}

bool NoErrors() {
  bool none = true;
  while (glGetError() != GL_NO_ERROR) none = false;
  return none;
}

void Vertex(const Vec3& v) { glVertex3f(v[0], v[1], v[2]); }

void ScaledVertex(const Vec3& v, float viewDistance) {
  glVertex3f(v[0] / viewDistance, v[1] / viewDistance, v[2] / viewDistance);
}

// The material a list of facets sets for its faces.
struct Surface {
  GLenum Faces;
  const GLfloat* Ambient;
  const GLfloat* Diffuse;  // null: the library's default
};

// Only the fronts: a facet's back keeps the library's default grey.
constexpr Surface kModelSurface{GL_FRONT, kModelAmbient, nullptr};
constexpr Surface kCarvedModelSurface{GL_FRONT_AND_BACK, kModelAmbient, kCarvedModelDiffuse};
constexpr Surface kCarvedSurface{GL_FRONT_AND_BACK, kCarvedAmbient, kCarvedDiffuse};

void CompileGrid(const GridContent& grid) {
  const double e = grid.MaxX > grid.MaxY ? grid.MaxX : grid.MaxY;
  const float lo = float(-1.2 * e), hi = float(1.2 * e);
  const float d = grid.ViewDistance;
  glNewList(GridList, GL_COMPILE);
  glBegin(GL_LINES);
  // Lines parallel to Y in green, then parallel to X in red, from lo (not from 0).
  glMaterialfv(GL_FRONT, GL_AMBIENT, kGridGreen);
  for (float t = lo; t <= hi; t += kGridStep) {
    glVertex3f(t / d, lo / d, 0);
    glVertex3f(t / d, hi / d, 0);
  }
  glMaterialfv(GL_FRONT, GL_AMBIENT, kGridRed);
  for (float t = lo; t <= hi; t += kGridStep) {
    glVertex3f(lo / d, t / d, 0);
    glVertex3f(hi / d, t / d, 0);
  }
  glEnd();
  glEndList();
}

void CompileFacets(const FacetContent& c, const FacetTable& table, const Surface& surface) {
  glNewList(c.List, GL_COMPILE);
  // One material for the whole batch: it is the same for every facet, and set once
  // the list stores it once instead of with every vertex. It stays with the list.
  glPushAttrib(GL_LIGHTING_BIT);
  glMaterialfv(surface.Faces, GL_AMBIENT, surface.Ambient);
  if (surface.Diffuse) glMaterialfv(surface.Faces, GL_DIFFUSE, surface.Diffuse);
  glBegin(GL_QUADS);
  // Each triangle is a quad whose last corner repeats the first. File normals are
  // drawn as stored (not normalised); facets from scans get the normal of their
  // winding and are already in view units.
  const Facet* facets = table.Facets.data();
  for (int i = c.First; i < c.End; ++i) {
    const Facet& f = facets[i];
    if (c.FileNormals) {
      glNormal3fv(f.Normal.data());
      ScaledVertex(f.V1, c.ViewDistance);
      ScaledVertex(f.V2, c.ViewDistance);
      ScaledVertex(f.V3, c.ViewDistance);
      ScaledVertex(f.V1, c.ViewDistance);
    } else {
      glNormal3fv(TriangleNormal(f.V3, f.V2, f.V1).data());
      Vertex(f.V1);
      Vertex(f.V2);
      Vertex(f.V3);
      Vertex(f.V1);
    }
  }
  glEnd();
  glPopAttrib();
  glEndList();
}

// A list of facets in millimetres, each in the colour `colourOf(facet)`
// gives (RGBA) as its diffuse colour, over the surface's ambient.
template <class ColourOf>
void CompileColouredFacets(const FacetContent& c, const FacetTable& table,
                           const Surface& surface, const ColourOf& colourOf) {
  glNewList(c.List, GL_COMPILE);
  glPushAttrib(GL_LIGHTING_BIT);
  glMaterialfv(surface.Faces, GL_AMBIENT, surface.Ambient);
  glColorMaterial(surface.Faces, GL_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);
  glBegin(GL_TRIANGLES);
  const Facet* facets = table.Facets.data();
  const float scale = c.FileNormals ? c.ViewDistance : 1.0f;
  for (int i = c.First; i < c.End; ++i) {
    const Facet& f = facets[i];
    glColor4fv(colourOf(i).data());
    // As CompileFacets draws them: file normals in millimetres, scan facets in view
    // units with the normal of their winding.
    glNormal3fv(c.FileNormals ? f.Normal.data() : TriangleNormal(f.V3, f.V2, f.V1).data());
    for (const Vec3* corner : {&f.V1, &f.V2, &f.V3}) ScaledVertex(*corner, scale);
  }
  glEnd();
  glPopAttrib();
  glEndList();
}

// Clears, draws the grid, with `model` the model, and then `more` under the camera of
// `view`, and waits for the frame; false when the library reported an error.
template <class More>
bool DrawFrame(const ViewState& view, const More& more, bool model = true) {
  ClearErrors();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  ApplyViewTransform(view);
  // A list not compiled yet draws nothing.
  glCallList(GridList);
  if (model) glCallList(ModelList);
  more();
  glPopMatrix();
  glFinish();
  return NoErrors();
}

// The carved solid blended over what is drawn, writing no depth so that it hides
// nothing behind it: its far faces first, then its near ones over them. Its material
// and the blending stay with it.
void DrawTranslucentSolid() {
  glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT |
               GL_POLYGON_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  glEnable(GL_CULL_FACE);
  for (GLenum culled : {GL_FRONT, GL_BACK}) {
    glCullFace(culled);
    glCallList(CarvedList);
  }
  glPopAttrib();
}

}  // namespace

void InitGL(int width, int height) {
  glClearDepth(100.0);  // clamped to 1.0 by the library
  glEnable(GL_DEPTH_TEST);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
  for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
    glLightfv(light, GL_AMBIENT, kLightAmbient);
    glLightfv(light, GL_SPECULAR, kLightSpecular);
  }
  // The modelview matrix is still the identity: the positions are taken in eye space.
  glLightfv(GL_LIGHT0, GL_POSITION, kLight0Position);
  glLightfv(GL_LIGHT1, GL_POSITION, kLight1Position);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_LIGHT1);
  Perspective(width, height);
  glLoadIdentity();
}

void SetProjection(int width, int height, DepthRange depth) {
  glViewport(0, 0, width, height);
  Perspective(width, height, depth);
}

void ApplyViewTransform(const ViewState& view) {
  // The last call applies to the vertices first: the pivot to the origin, scale, then
  // turn about Y, X, Z.
  glTranslated(view.PanX, view.PanY, -view.EyeDistance);
  glRotated(-view.ViewAngleZ, 0, 0, 1);
  glRotated(-view.ViewAngleX, 1, 0, 0);
  glRotated(view.ViewAngleY, 0, 1, 0);
  glScalef(view.ZoomScale, view.ZoomScale, view.ZoomScale);
  glTranslatef(-view.Pivot[0], -view.Pivot[1], -view.Pivot[2]);
}

bool DrawLists(const ViewState& view, bool withSecondList) {
  return DrawFrame(view, [withSecondList] {
    if (withSecondList) glCallList(SecondList);
  });
}

std::array<float, 3> MaterialColour(double left, double full) {
  constexpr std::array<std::array<float, 3>, 3> kStops{
      {{0.1f, 0.85f, 0.3f}, {0.1f, 0.75f, 0.95f}, {0.3f, 0.3f, 1.0f}}};
  const double t = full > 0 ? std::clamp(left / full, 0.0, 1.0) * 2 : 0;
  const auto& a = kStops[t < 1 ? 0 : 1];
  const auto& b = kStops[t < 1 ? 1 : 2];
  const float f = float(t < 1 ? t : t - 1);
  return {a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1]), a[2] + f * (b[2] - a[2])};
}

bool CompileCarvedScene(const TDataModule1& store, const FacetTable& model,
                        const FacetTable& solid, const CarvedColouring& colours, double full) {
  ClearErrors();
  CompileGrid(GridContent::Of(store));
  const auto rgba = [](const std::array<float, 3>& c, float alpha) {
    return std::array<float, 4>{c[0], c[1], c[2], alpha};
  };
  const std::array<float, 4> green{kCarvedModelDiffuse[0], kCarvedModelDiffuse[1],
                                   kCarvedModelDiffuse[2], 1.0f};
  CompileColouredFacets(FacetContent::Of(ModelList, 0, model, store), model, kCarvedModelSurface,
                        [&](int facet) {
                          return colours.Taken[std::size_t(facet)] ? rgba(kCutColour, 1) : green;
                        });
  CompileColouredFacets(FacetContent::Of(CarvedList, 0, solid, store), solid, kCarvedSurface,
                        [&](int facet) {
                          const float left = colours.MaterialLeft[std::size_t(facet)];
                          return rgba(MaterialColour(left, full), kCarvedDiffuse[3]);
                        });
  return NoErrors();
}

bool DrawCarvedScene(const ViewState& view, bool model) {
  if (model) return DrawFrame(view, DrawTranslucentSolid);
  return DrawFrame(view, [] { glCallList(CarvedList); }, false);
}

void ReleaseCarvedScene() {
  for (unsigned list : {GridList, ModelList, CarvedList}) glDeleteLists(list, 1);
}

GridContent GridContent::Of(const TDataModule1& store) {
  return {store.MaxX, store.MaxY, store.ViewDistance};
}

FacetContent FacetContent::Of(unsigned list, int first, const FacetTable& table,
                              const TDataModule1& store) {
  return {list, first, table.FacetCount, table.UseFileNormals, store.ViewDistance};
}

void SceneLists::BuildGridList(const TDataModule1& store) { grid_ = GridContent::Of(store); }

std::optional<TurnedDimensions> SceneLists::BuildModelList(TDataModule1& store,
                                                           FacetTable& table,
                                                           int scanFileCount,
                                                           const ModelTurnRequest& importTurn) {
  BuildGridList(store);
  std::optional<TurnedDimensions> turned;
  if (scanFileCount > 0 && table.FirstNewFacet > 0) {
    // A further scan: the first model stays in ModelList as compiled; SecondList is
    // recompiled from the first added facet so that earlier added scans stay shown.
    turned = ApplyModelTransform(importTurn, store, table);
    if (!SecondListBuilt) SecondListStart = table.FirstNewFacet;
    SecondListBuilt = true;
    second_ = FacetContent::Of(SecondList, SecondListStart, table, store);
    if (turned) {
      // A turn requested by the import dialog moves every facet, the first model's
      // too: drawn from its old list it would stand unturned beside its turned data.
      model_ = FacetContent::Of(ModelList, 0, table, store);
      model_->End = SecondListStart;
    }
  } else {
    model_ = FacetContent::Of(ModelList, table.FirstNewFacet, table, store);
    if (table.FirstNewFacet == 0) {
      // The whole table is in ModelList now; SecondList would show it twice.
      second_ = FacetContent::Of(SecondList, table.FacetCount, table, store);
      SecondListBuilt = false;
    }
  }
  table.FirstNewFacet = table.FacetCount;
  return turned;
}

bool SceneLists::CompilePending(const FacetTable& table) {
  ClearErrors();
  if (grid_) CompileGrid(*grid_);
  if (model_) CompileFacets(*model_, table, kModelSurface);
  if (second_) CompileFacets(*second_, table, kModelSurface);
  grid_.reset();
  model_.reset();
  second_.reset();
  return NoErrors();
}

void SceneLists::Release() {
  for (unsigned list : {GridList, ModelList, SecondList}) glDeleteLists(list, 1);
}

}  // namespace vantora
