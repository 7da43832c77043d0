#pragma once

#include <QObject>
#include <functional>
#include <type_traits>
#include <stdexcept>

#include "core/common/host.h"

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace vantora {

// A field whose text is not a number: thrown by a handler that reads it, it ends the
// handler and the operator sees the message.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text of an edit as an f32 number with "." as the separator; a ConversionError
// saying "'abc' is not a valid floating point value" when it is not one.
float ReadFloat(const QLineEdit& edit);

// Runs an event handler the way the framework runs one: an exception that leaves it
// ends the handler and is shown to the operator, and the program goes on. A field that
// is not a number shows its own message, memory running out or any other exception is
// told as such, an unknown one has an empty message. Exceptions must not unwind
// through Qt's event dispatch, so every handler runs through here.
void RunHandler(Host& host, const std::function<void()>& handler) noexcept;

// Connects `signal` of `sender` to the handler `method` of `receiver`; the connection
// lives as long as the receiver, or the sender when the receiver is no QObject.
template <class Sender, class Signal, class Receiver>
void BindHandler(Host& host, Sender* sender, Signal signal, Receiver* receiver,
                 void (Receiver::*method)()) {
  QObject* context = sender;
  if constexpr (std::is_base_of_v<QObject, Receiver>) context = receiver;
  QObject::connect(sender, signal, context, [&host, receiver, method] {
    RunHandler(host, [receiver, method] { (receiver->*method)(); });
  });
}

// Runs `handler(button)` when `button` is clicked: the framework's way of telling a
// handler that several buttons share which one it was. The connection lives as long as
// `context`.
void BindClick(Host& host, QAbstractButton* button, QObject* context,
               std::function<void(QObject* sender)> handler);

// Runs `handler` whenever the keyboard focus moves into `field` from elsewhere in its
// window (the framework's Enter event of a control).
void BindEnter(Host& host, QWidget* field, std::function<void()> handler);

template <class Receiver>
void BindEnter(Host& host, QWidget* field, Receiver* receiver, void (Receiver::*method)()) {
  BindEnter(host, field, [receiver, method] { (receiver->*method)(); });
}

}  // namespace vantora
