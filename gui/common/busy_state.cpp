#include "common/busy_state.h"

namespace vantora {

void BusyState::AddGate(QWidget* gate) {
  gates_.emplace_back(gate);
  gate->setEnabled(!Active());
}

void BusyState::EnableGates(bool enabled) {
  for (const QPointer<QWidget>& gate : gates_) {
    if (gate) gate->setEnabled(enabled);
  }
}

BusyState::Scope::Scope(BusyState& state) : state_(state) {
  if (state_.depth_++ == 0) state_.EnableGates(false);
}

BusyState::Scope::~Scope() {
  if (--state_.depth_ == 0) state_.EnableGates(true);
}

}  // namespace vantora
