#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

namespace vantora::testing {

// The control called `name` under `root`, as a test reaches it through the window; a
// missing or differently typed control fails the test.
template <class Control = QWidget>
Control* Child(const QObject& root, const char* name) {
  auto* control = root.findChild<Control*>(QLatin1String(name));
  if (!control) throw std::runtime_error(std::string("no control ") + name);
  return control;
}

// Runs `act` on the modal window that the code under test is about to open (the
// calls that open it block until it closes, so the test acts from the event loop).
// A failure inside `act` is reported and the window closed, so that no test hangs.
inline void WhenModal(std::function<void(QWidget&)> act) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  QObject::connect(poll, &QTimer::timeout, [poll, deadline, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && std::chrono::steady_clock::now() < deadline) return;
    poll->stop();
    poll->deleteLater();
    if (!modal) {
      ADD_FAILURE() << "no modal window opened";
      return;
    }
    try {
      act(*modal);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
      modal->close();
    }
  });
  poll->start();
}

}  // namespace vantora::testing
