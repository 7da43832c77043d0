#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "core/common/host.h"

namespace vantora {

// Long operations let the event loop run between their items, so without care a click
// could start a second operation under the running one. While a Scope lives, the
// gates are disabled: the containers that hold the buttons starting such operations.
// A button keeps its own enabled state inside a disabled container, so handlers
// enable and disable their buttons as usual and find them as they left them.
class BusyState {
 public:
  void AddGate(QWidget* gate);
  bool Active() const { return depth_ > 0; }

  // Marks an operation as running for its lifetime; scopes nest.
  class Scope {
   public:
    explicit Scope(BusyState& state);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    BusyState& state_;
  };

 private:
  void EnableGates(bool enabled);

  std::vector<QPointer<QWidget>> gates_;
  int depth_ = 0;
};

// The hourglass cursor for the lifetime of a scope.
class WaitCursor {
 public:
  explicit WaitCursor(Host& host) : host_(host) { host_.SetBusy(true); }
  ~WaitCursor() { host_.SetBusy(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Host& host_;
};

}  // namespace vantora
