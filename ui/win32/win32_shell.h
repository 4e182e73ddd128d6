// ui::Shell over plain Win32: the two windows as top-level windows with fixed frames and the
// standard controls (BUTTON, STATIC, EDIT, the common controls' list view), the system message
// box and save dialog, and the end of the program; plus the hooks that let tests run it without
// anything modal blocking them.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/shell_base.h"

namespace ui {

class Win32Shell : public ShellBase {
 public:
  // Registers the window class and installs the error box of text::StopWithError for the
  // shell's lifetime.
  Win32Shell();
  ~Win32Shell() override;
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;

  void LoadWindow(Window window) override;
  bool IsLoaded(Window window) const override;

  text::Text GetText(Window window, const text::Text& control) const override;
  void SetText(Window window, const text::Text& control, const text::Text& value) override;

  bool IsVisible(Window window) const override;
  void SetVisible(Window window, bool visible) override;

  bool IsSelectAllTicked() const override;
  void SetSelectAllTicked(bool ticked) override;

  int ListRowCount() const override;
  int ListAppendRow(const text::Text& firstColumn) override;
  void ListSetCell(int row, int column, const text::Text& value) override;
  text::Text ListCell(int row, int column) const override;
  void ListSetTicked(int row, bool ticked) override;
  bool ListTicked(int row) const override;

  void ShowMessage(const text::Text& message, int icon, const text::Text& caption) override;
  std::optional<std::filesystem::path> AskSaveFileName(const text::Text& proposedName) override;

  void PumpEvents() override;
  void SetBusy(bool busy) override;

  void Run() override;

  // --- Test hooks (and those of ShellBase) ---------------------------------------------------

  // The window, or a control by GBK form name (nullptr when not loaded or no such control).
  HWND WindowHandle(Window window) const;
  HWND Control(Window window, const text::Text& name) const;

  // The error box that StopWithError shows while this shell exists.
  static void ShowStopBox(const text::Text& boxText, const text::Text& caption);

  // The window procedures; public for the class registration only.
  static LRESULT CALLBACK TopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK GroupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Form {
    HWND window = nullptr;
    std::map<text::Text, HWND> controls;  // by GBK form name
    std::map<HWND, text::Text> names;
  };
  // What the program set, and what the control showed then: read back unchanged while it stays.
  struct SetTextMemo {
    text::Text bytes;
    std::wstring shown;
  };

  const Form* Find(Window window) const;
  std::optional<Window> WindowOf(HWND top) const;
  HWND List() const;
  void Build(Window window, Form& form);
  void Closing(Window window);
  bool AnyWindowShown() const;
  void Dispatch(const std::function<void(EventHandler&)>& routine);
  void Deliver(MSG& message);
  LRESULT OnTopMessage(Window window, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void ShowBox(const text::Text& message, int icon, const text::Text& caption);
  text::Text ReadText(HWND control) const;
  void WriteText(HWND control, const text::Text& value);

  Win32Shell* previousShell_ = nullptr;
  std::map<Window, Form> windows_;
  std::map<HWND, SetTextMemo> memos_;
  std::map<std::pair<int, int>, SetTextMemo> cellMemos_;
  HFONT font_ = nullptr;
  bool settingTicks_ = false;
  int busyDepth_ = 0;
};

}  // namespace ui
