#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/application.h"
#include "scripted_host.h"
#include "test_files.h"

namespace vantora::testing {

// The control called `name` under `root`, as a test reaches it through the window; a
// missing or differently typed control fails the test.
template <class Control = QWidget>
Control* Child(const QObject& root, const char* name) {
  auto* control = root.findChild<Control*>(QLatin1String(name));
  if (!control) throw std::runtime_error(std::string("no control ") + name);
  return control;
}

// The program started in a directory of its own, where it keeps its settings files,
// with a scripted host answering for the operator.
class StartedApplicationTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedCurrentDir inDir{dir.path()};
  ScriptedHost host;
  std::unique_ptr<Application> app = std::make_unique<Application>(host);

  TForm1& form() { return *app->Form1; }
  TDataModule1& store() { return *app->DataModule1; }
  template <class Control = QWidget>
  Control* Find(const char* name) { return Child<Control>(form(), name); }
  // Clicks a button the way the window delivers a click, shown or not.
  void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
  // Closes the program and starts it again in the same directory.
  void Restart() {
    form().close();
    app = std::make_unique<Application>(host);
  }
};

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
