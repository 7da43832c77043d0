#pragma once

#include <QRect>

#include "core/model/data_module.h"
#include "core/model/model_transform.h"

namespace vantora {

class BusyState;

// What a 3D view asks of the window that owns it, and what it tells it: the view
// reaches its owner only through this.
class ModelViewHost {
 public:
  virtual ~ModelViewHost() = default;

  // The model store the view's facets belong to.
  virtual TDataModule1& ModelStore() = 0;
  // Scans opened so far (-1 before any model, 0 after an STL file): how facets scale.
  virtual int OpenedScans() const = 0;
  // How the import dialog asked the next scan to be placed.
  virtual ModelTurnRequest& ImportTurn() = 0;
  // Long operations; the view's model-changing controls close while one runs.
  virtual BusyState& Operations() = 0;
  // Where the view goes: its left edge and the owner's size.
  virtual QRect ViewArea() const = 0;

  // The model turned to these sizes.
  virtual void ModelTurned(const TurnedDimensions& sizes) = 0;
  // The operator asked to insert a further file into the view.
  virtual void InsertRequested() = 0;
};

}  // namespace vantora
