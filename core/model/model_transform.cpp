#include "core/model/model_transform.h"

#include <cmath>

namespace vantora {
namespace {

// Which two coordinates a turn changes, and the store bounds that follow them.
struct TurnAxes {
  int a, b;  // a' = c a - s b, b' = s a + c b
  double TDataModule1::*maxA;
  double TDataModule1::*minA;
  double TDataModule1::*maxB;
  double TDataModule1::*minB;
};

void Turn(float degrees, TDataModule1& s, FacetTable& table, const TurnAxes& axes) {
  s.*axes.maxA = s.*axes.minA = s.*axes.maxB = s.*axes.minB = 0.0;
  const double angle = degrees * kDegreesToRadians;
  const double sine = std::sin(angle), cosine = std::cos(angle);
  for (int k = 0; k < table.FacetCount; ++k) {
    Facet& f = table.Facets[k];
    for (Vec3* v : {&f.V1, &f.V2, &f.V3}) {
      const double a = cosine * (*v)[axes.a] - sine * (*v)[axes.b];
      const double b = sine * (*v)[axes.a] + cosine * (*v)[axes.b];
      if (a > s.*axes.maxA) s.*axes.maxA = a;
      if (a < s.*axes.minA) s.*axes.minA = a;
      if (b > s.*axes.maxB) s.*axes.maxB = b;
      if (b < s.*axes.minB) s.*axes.minB = b;
      (*v)[axes.a] = float(a);
      (*v)[axes.b] = float(b);
    }
  }
  const double dx = s.MaxX - s.MinX, dy = s.MaxY - s.MinY;
  s.ModelDiameter = float(std::sqrt(dx * dx + dy * dy));
}

TurnedDimensions Dimensions(const TDataModule1& s, bool withZ) {
  TurnedDimensions d{float(s.MaxX - s.MinX), float(s.MaxY - s.MinY), std::nullopt,
                     s.ModelDiameter};
  if (withZ) d.Z = float(s.MaxZ - s.MinZ);
  return d;
}

}  // namespace

std::optional<TurnedDimensions> ApplyModelTransform(const ModelTurnRequest& turn,
                                                    TDataModule1& s, FacetTable& table) {
  if (turn.MirrorZ) {
    for (int k = table.FirstNewFacet; k < table.FacetCount; ++k) {
      Facet& f = table.Facets[k];
      for (Vec3* v : {&f.V1, &f.V2, &f.V3}) (*v)[2] = 0 - (*v)[2];
    }
  }
  std::optional<TurnedDimensions> shown;
  if (turn.RotateZ) {
    Turn(turn.Angle, s, table, {0, 1, &TDataModule1::MaxX, &TDataModule1::MinX, &TDataModule1::MaxY,
                    &TDataModule1::MinY});
    shown = Dimensions(s, false);
  }
  if (turn.RotateX) {
    Turn(turn.Angle, s, table, {1, 2, &TDataModule1::MaxY, &TDataModule1::MinY, &TDataModule1::MaxZ,
                    &TDataModule1::MinZ});
    shown = Dimensions(s, true);
  }
  if (turn.RotateY) {
    // x' = c x + s z, z' = -s x + c z: the same turn written as z' = c z - s x.
    Turn(turn.Angle, s, table, {2, 0, &TDataModule1::MaxZ, &TDataModule1::MinZ, &TDataModule1::MaxX,
                    &TDataModule1::MinX});
    shown = Dimensions(s, true);
  }
  return shown;
}

}  // namespace vantora
