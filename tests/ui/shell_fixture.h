// A shell under test: every event it raises is recorded, nothing modal opens, and EndProgram
// throws instead of ending the test.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "ui/qt/qt_shell.h"

namespace ui::testing {

struct Event {
  enum Kind { Created, WillBeDestroyed, Clicked, KeyDown, ListToggled };
  Event(Kind k, Window w, text::Text c = "", int a = 0, int b = 0)
      : kind(k), window(w), control(std::move(c)), first(a), second(b) {}
  Kind kind;
  Window window;
  text::Text control;
  int first;   // key code, or row
  int second;  // modifiers, or state
  bool operator==(const Event&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Event& e) {
  static const char* const kKinds[] = {"Created", "WillBeDestroyed", "Clicked", "KeyDown",
                                       "ListToggled"};
  return out << kKinds[e.kind] << "(" << (e.window == Window::Login ? "Login" : "Grade") << ", "
             << ::testing::PrintToString(e.control) << ", " << e.first << ", " << e.second << ")";
}

class RecordingHandler : public EventHandler {
 public:
  std::vector<Event> events;
  // Runs after each event has been recorded, inside the event.
  std::function<void(const Event&)> onEvent;

  void Created(Window window) override { Add({Event::Created, window}); }
  void WillBeDestroyed(Window window) override { Add({Event::WillBeDestroyed, window}); }
  void Clicked(Window window, const text::Text& control) override {
    Add({Event::Clicked, window, control});
  }
  void KeyDown(Window window, const text::Text& control, int keyCode, int modifiers) override {
    Add({Event::KeyDown, window, control, keyCode, modifiers});
  }
  void ListToggled(int row, int state) override {
    Add({Event::ListToggled, Window::Grade, "", row, state});
  }

 private:
  void Add(const Event& e) {
    events.push_back(e);
    if (onEvent) onEvent(e);
  }
};

// Types text the way an input method hands it over (QTest's key clicks take Latin-1 only).
inline void CommitText(QWidget* widget, const QString& typed) {
  QInputMethodEvent event;
  event.setCommitString(typed);
  QApplication::sendEvent(widget, &event);
}

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() {
    shell.SetEventHandler(&handler);
    shell.SetUnattended(true);
    shell.ThrowInsteadOfEnding(true);
  }

  // Loads the window and waits until it is on screen and active, and forgets the Created event.
  QWidget* Load(Window window) {
    shell.LoadWindow(window);
    QWidget* widget = shell.WindowWidget(window);
    EXPECT_NE(widget, nullptr);
    if (widget != nullptr) {
      EXPECT_TRUE(QTest::qWaitForWindowActive(widget));
    }
    handler.events.clear();
    return widget;
  }

  template <typename Widget>
  Widget* Get(Window window, const text::Text& name) {
    auto* widget = dynamic_cast<Widget*>(shell.Control(window, name));
    if (widget == nullptr) throw std::runtime_error("no such control: " + name);
    return widget;
  }

  QtShell shell;
  RecordingHandler handler;
};

}  // namespace ui::testing
