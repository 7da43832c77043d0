#include "common/handlers.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QLineEdit>

#include "core/common/unexpected_error.h"
#include "core/common/number_text.h"

namespace vantora {

float ReadFloat(const QLineEdit& edit) {
  const std::string text = edit.text().toStdString();
  const auto value = ParseFloatText(text);
  if (!value) throw ConversionError(NotAFloatMessage(text));
  return *value;
}

void RunHandler(Host& host, const std::function<void()>& handler) noexcept {
  try {
    handler();
  } catch (const ConversionError& e) {
    host.ShowMessage(e.what());
  } catch (const std::exception& e) {
    host.ShowMessage(UnexpectedErrorMessage(e));
  } catch (...) {
    host.ShowMessage({});
  }
}

void BindClick(Host& host, QAbstractButton* button, QObject* context,
               std::function<void(QObject* sender)> handler) {
  QObject::connect(button, &QAbstractButton::clicked, context,
                   [&host, button, handler = std::move(handler)] {
                     RunHandler(host, [&] { handler(button); });
                   });
}

namespace {

// Watches one field for the focus; lives as long as the field.
class EnterWatcher final : public QObject {
 public:
  EnterWatcher(QWidget* field, Host& host, std::function<void()> handler)
      : QObject(field), host_(host), handler_(std::move(handler)) {
    field->installEventFilter(this);
  }

 protected:
  // The focus coming back with its window (after a message box, another window or a
  // menu) is no entry: the field had it all along.
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::FocusIn) return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      RunHandler(host_, handler_);
    }
    return false;
  }

 private:
  Host& host_;
  std::function<void()> handler_;
};

}  // namespace

void BindEnter(Host& host, QWidget* field, std::function<void()> handler) {
  new EnterWatcher(field, host, std::move(handler));
}

}  // namespace vantora
