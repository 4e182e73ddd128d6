#include "ui/win32/win32_shell.h"

#include <commctrl.h>
#include <commdlg.h>

#include "ui/win32/gbk_win32.h"
#include "ui/win32/window_forms_win32.h"

namespace ui {
namespace {

// The shell the window procedures and the error box of StopWithError report to.
Win32Shell* g_shell = nullptr;

constexpr wchar_t kWindowClass[] = L"ChengxiGradesWindow";
constexpr const char* kSelectAllBox = "选择框1";
constexpr const char* kCourseList = "超级列表框1";
// More messages than this in one pump wait for the next one, so a pump always returns.
constexpr int kMaxMessagesPerPump = 10000;

// The window procedure a control had before the shell took its messages.
WNDPROC OriginalProc(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Subclass(HWND hwnd, WNDPROC proc) {
  const LONG_PTR original = SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, original);
}

UINT BoxIcon(int icon) {
  switch (icon) {
    case kIconError:
      return MB_ICONERROR;
    case kIconInformation:
      return MB_ICONINFORMATION;
    case 32:
      return MB_ICONQUESTION;
    case 48:
      return MB_ICONWARNING;
    default:
      return 0;
  }
}

int ModifierBits() {
  int bits = 0;
  if (GetKeyState(VK_CONTROL) < 0) bits |= 1;
  if (GetKeyState(VK_SHIFT) < 0) bits |= 2;
  if (GetKeyState(VK_MENU) < 0) bits |= 4;
  return bits;
}

struct ControlStyle {
  const wchar_t* windowClass;
  DWORD style;
  DWORD extendedStyle;
};

ControlStyle StyleOf(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::GroupBox:
      return {L"BUTTON", kChild | BS_GROUPBOX | BS_LEFT, WS_EX_CONTROLPARENT};
    case ControlKind::Label:
      return {L"STATIC", kChild | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case ControlKind::CentredLabel:
      return {L"STATIC", kChild | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case ControlKind::EditBox:
      return {L"EDIT", kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::PasswordBox:
      return {L"EDIT", kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_PASSWORD,
              WS_EX_CLIENTEDGE};
    case ControlKind::Button:
      return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0};
    case ControlKind::CheckBox:
      return {L"BUTTON",
              kChild | WS_TABSTOP | BS_AUTOCHECKBOX | BS_LEFTTEXT | BS_CENTER | BS_VCENTER, 0};
    case ControlKind::List:
      return {
          WC_LISTVIEWW,
          kChild | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_SHOWSELALWAYS,
          WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", kChild, 0};
}

bool IsClickable(HWND control) {
  const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  return lstrcmpiW(name, L"BUTTON") == 0 && type != BS_GROUPBOX;
}

// The state image of a list row: 1 unticked, 2 ticked, 0 none yet.
UINT StateImage(UINT state) {
  return (state & LVIS_STATEIMAGEMASK) >> 12;
}

}  // namespace

Win32Shell::Win32Shell() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass{};
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), kWindowClass, &windowClass)) {
    windowClass = WNDCLASSEXW{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32Shell::TopProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
  }
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  previousShell_ = g_shell;
  g_shell = this;
  text::SetStopBox(&Win32Shell::ShowStopBox);
}

Win32Shell::~Win32Shell() {
  while (busyDepth_ > 0) SetBusy(false);
  if (g_shell == this) {
    g_shell = previousShell_;
    text::SetStopBox(g_shell != nullptr ? &Win32Shell::ShowStopBox : nullptr);
  }
  for (auto& [window, form] : windows_) DestroyWindow(form.window);
  windows_.clear();
}

const Win32Shell::Form* Win32Shell::Find(Window window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : &found->second;
}

std::optional<Window> Win32Shell::WindowOf(HWND top) const {
  for (const auto& [window, form] : windows_) {
    if (form.window == top) return window;
  }
  return std::nullopt;
}

HWND Win32Shell::WindowHandle(Window window) const {
  const Form* form = Find(window);
  return form == nullptr ? nullptr : form->window;
}

HWND Win32Shell::Control(Window window, const text::Text& name) const {
  const Form* form = Find(window);
  if (form == nullptr) return nullptr;
  const auto found = form->controls.find(name);
  return found == form->controls.end() ? nullptr : found->second;
}

HWND Win32Shell::List() const {
  return Control(Window::Grade, kCourseList);
}

void Win32Shell::Build(Window window, Form& form) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const SIZE outer = OuterSize(window);
  form.window = CreateWindowExW(0, kWindowClass, GbkToWide(kProgramTitle).c_str(),
                                WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx,
                                outer.cy, nullptr, nullptr, instance, nullptr);
  if (form.window == nullptr) return;
  SetWindowLongPtrW(form.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageW(form.window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  WriteText(form.window, kProgramTitle);

  int id = 100;
  for (const ControlForm& control : FormOf(window)) {
    HWND parent = form.window;
    if (control.parent[0] != '\0') parent = form.controls.at(control.parent);
    const ControlStyle style = StyleOf(control.kind);
    HWND hwnd =
        CreateWindowExW(style.extendedStyle, style.windowClass, L"", style.style, control.x,
                        control.y, control.width, control.height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
    if (hwnd == nullptr) continue;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    switch (control.kind) {
      case ControlKind::GroupBox:
        Subclass(hwnd, &Win32Shell::GroupProc);
        break;
      case ControlKind::PasswordBox:
        SendMessageW(hwnd, EM_SETPASSWORDCHAR, L'*', 0);
        [[fallthrough]];
      case ControlKind::EditBox:
        SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no limit but the system's
        Subclass(hwnd, &Win32Shell::EditProc);
        break;
      case ControlKind::List: {
        const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
        int column = 0;
        for (const ListColumn& c : ListColumns()) {
          std::wstring title = GbkToWide(c.title);
          LVCOLUMNW lvColumn{};
          lvColumn.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
          lvColumn.fmt = LVCFMT_LEFT;
          lvColumn.cx = c.width;
          lvColumn.pszText = title.data();
          lvColumn.iSubItem = column;
          SendMessageW(hwnd, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&lvColumn));
          ++column;
        }
        break;
      }
      default:
        break;
    }
    WriteText(hwnd, control.text);
    form.controls.emplace(control.name, hwnd);
    form.names.emplace(hwnd, control.name);
  }
}

void Win32Shell::LoadWindow(Window window) {
  if (const Form* loaded = Find(window)) {
    if (IsIconic(loaded->window)) {
      ShowWindow(loaded->window, SW_RESTORE);
    } else {
      BringWindowToTop(loaded->window);
      SetForegroundWindow(loaded->window);
    }
    return;
  }

  Build(window, windows_[window]);
  if (handler_ != nullptr && !Ended()) handler_->Created(window);

  const Form* form = Find(window);
  if (form == nullptr || form->window == nullptr) return;
  const SIZE outer = OuterSize(window);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
  SetWindowPos(form->window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(form->window, SW_SHOW);
  UpdateWindow(form->window);
  SetForegroundWindow(form->window);
  if (HWND first = GetNextDlgTabItem(form->window, nullptr, FALSE)) SetFocus(first);
}

bool Win32Shell::IsLoaded(Window window) const {
  return Find(window) != nullptr;
}

text::Text Win32Shell::ReadText(HWND control) const {
  const int length = GetWindowTextLengthW(control);
  std::wstring shown(static_cast<size_t>(length) + 1, L'\0');
  const int read = GetWindowTextW(control, shown.data(), length + 1);
  shown.resize(static_cast<size_t>(read > 0 ? read : 0));
  const auto memo = memos_.find(control);
  if (memo != memos_.end() && memo->second.shown == shown) return memo->second.bytes;
  return WideToGbk(shown);
}

void Win32Shell::WriteText(HWND control, const text::Text& value) {
  const std::wstring shown = GbkToWide(value);
  SetWindowTextW(control, shown.c_str());
  memos_[control] = SetTextMemo{value, shown};
}

text::Text Win32Shell::GetText(Window window, const text::Text& control) const {
  HWND hwnd = control.empty() ? WindowHandle(window) : Control(window, control);
  return hwnd == nullptr ? text::Text() : ReadText(hwnd);
}

void Win32Shell::SetText(Window window, const text::Text& control, const text::Text& value) {
  HWND hwnd = control.empty() ? WindowHandle(window) : Control(window, control);
  if (hwnd != nullptr) WriteText(hwnd, value);
}

bool Win32Shell::IsVisible(Window window) const {
  HWND hwnd = WindowHandle(window);
  return hwnd != nullptr && IsWindowVisible(hwnd);
}

void Win32Shell::SetVisible(Window window, bool visible) {
  if (HWND hwnd = WindowHandle(window)) ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
}

bool Win32Shell::IsSelectAllTicked() const {
  HWND box = Control(Window::Grade, kSelectAllBox);
  return box != nullptr && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Shell::SetSelectAllTicked(bool ticked) {
  // BM_SETCHECK sends no BN_CLICKED: no event for the program.
  if (HWND box = Control(Window::Grade, kSelectAllBox)) {
    SendMessageW(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

int Win32Shell::ListRowCount() const {
  HWND list = List();
  return list == nullptr ? 0 : static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int Win32Shell::ListAppendRow(const text::Text& firstColumn) {
  HWND list = List();
  if (list == nullptr) return -1;
  std::wstring shown = GbkToWide(firstColumn);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = ListRowCount();
  item.pszText = shown.data();
  settingTicks_ = true;
  const int row =
      static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  settingTicks_ = false;
  if (row >= 0) cellMemos_[{row, 0}] = SetTextMemo{firstColumn, shown};
  return row;
}

void Win32Shell::ListSetCell(int row, int column, const text::Text& value) {
  HWND list = List();
  if (list == nullptr || row < 0 || row >= ListRowCount() || column < 0 ||
      column >= static_cast<int>(ListColumns().size())) {
    return;
  }
  std::wstring shown = GbkToWide(value);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = shown.data();
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  cellMemos_[{row, column}] = SetTextMemo{value, shown};
}

text::Text Win32Shell::ListCell(int row, int column) const {
  HWND list = List();
  if (list == nullptr || row < 0 || row >= ListRowCount() || column < 0 ||
      column >= static_cast<int>(ListColumns().size())) {
    return {};
  }
  std::wstring shown(256, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = shown.data();
    item.cchTextMax = static_cast<int>(shown.size());
    const auto length = static_cast<size_t>(
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < shown.size() || shown.size() >= (1u << 20)) {
      shown.resize(length);
      break;
    }
    shown.assign(shown.size() * 4, L'\0');
  }
  const auto memo = cellMemos_.find({row, column});
  if (memo != cellMemos_.end() && memo->second.shown == shown) return memo->second.bytes;
  return WideToGbk(shown);
}

void Win32Shell::ListSetTicked(int row, bool ticked) {
  HWND list = List();
  if (list == nullptr || row < 0 || row >= ListRowCount()) return;
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
  settingTicks_ = true;
  SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  settingTicks_ = false;
}

bool Win32Shell::ListTicked(int row) const {
  HWND list = List();
  if (list == nullptr || row < 0 || row >= ListRowCount()) return false;
  const auto state =
      static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
  return StateImage(state) == 2;
}

void Win32Shell::ShowMessage(const text::Text& message, int icon, const text::Text& caption) {
  if (RecordInsteadOfShowing(message, icon, caption)) return;
  ShowBox(message, icon, caption);
}

void Win32Shell::ShowBox(const text::Text& message, int icon, const text::Text& caption) {
  // No owner: task-modal disables every window of the program while the box is shown. The
  // window that was active gets the focus back afterwards, as it would from an owned box.
  HWND active = GetActiveWindow();
  MessageBoxW(nullptr, GbkToWide(message).c_str(), GbkToWide(caption).c_str(),
              MB_OK | MB_TASKMODAL | BoxIcon(icon));
  if (active != nullptr && IsWindow(active) && IsWindowVisible(active)) {
    SetForegroundWindow(active);
    SetActiveWindow(active);
  }
}

void Win32Shell::ShowStopBox(const text::Text& boxText, const text::Text& caption) {
  if (g_shell == nullptr) return;
  if (g_shell->RecordInsteadOfShowing(boxText, kIconError, caption)) return;
  g_shell->ShowBox(boxText, kIconError, caption);
}

std::optional<std::filesystem::path> Win32Shell::AskSaveFileName(const text::Text& proposedName) {
  if (auto preset = PresetAnswerInsteadOfDialog(proposedName)) return *preset;

  std::wstring file(32768, L'\0');
  const std::wstring proposed = GbkToWide(proposedName);
  proposed.copy(file.data(), std::min(proposed.size(), file.size() - 1));
  // One entry; the string ends in two zero characters (the second is the terminator).
  std::wstring filter = GbkToWide("Html网页文件");
  filter += L'\0';
  filter += L"*.html";
  filter += L'\0';

  // The dialog's owner is the program's visible window, which it disables while it is open.
  HWND owner = IsVisible(Window::Grade) ? WindowHandle(Window::Grade) : nullptr;
  if (owner == nullptr && IsVisible(Window::Login)) owner = WindowHandle(Window::Login);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrDefExt = L"html";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&dialog)) return std::nullopt;
  return std::filesystem::path(file.c_str());
}

void Win32Shell::Deliver(MSG& message) {
  const bool keyDown = message.message == WM_KEYDOWN;
  HWND root = message.hwnd == nullptr ? nullptr : GetAncestor(message.hwnd, GA_ROOT);
  const bool ours = keyDown && WindowOf(root).has_value();
  TranslateMessage(&message);
  DispatchMessageW(&message);
  if (!ours || !IsWindow(root)) return;
  if (message.wParam == VK_ESCAPE) {
    // The same close request as the close button.
    SendMessageW(root, WM_CLOSE, 0, 0);
  } else if (message.wParam == VK_TAB) {
    const bool back = GetKeyState(VK_SHIFT) < 0;
    if (HWND next = GetNextDlgTabItem(root, GetFocus(), back)) SetFocus(next);
  }
}

void Win32Shell::PumpEvents() {
  const bool endedBefore = Ended();
  MSG message;
  for (int i = 0; i < kMaxMessagesPerPump; ++i) {
    if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) break;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) break;
    Deliver(message);
  }
  if (!endedBefore && Ended()) throw ProgramEnded{*EndedWithCode()};
}

void Win32Shell::SetBusy(bool busy) {
  if (busy) {
    ++busyDepth_;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  } else if (busyDepth_ > 0) {
    if (--busyDepth_ == 0) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }
}

bool Win32Shell::AnyWindowShown() const {
  for (const auto& [window, form] : windows_) {
    if (IsWindowVisible(form.window)) return true;
  }
  return false;
}

void Win32Shell::Run() {
  // A window that closes while a routine waits may be followed by another that the routine opens
  // before the loop gets back control: the loop ends only with no window left.
  MSG message;
  while (AnyWindowShown() && !Ended()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    Deliver(message);
  }
}

void Win32Shell::Closing(Window window) {
  Dispatch([&](EventHandler& h) { h.WillBeDestroyed(window); });
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  const Form form = std::move(found->second);
  windows_.erase(found);
  for (const auto& [hwnd, name] : form.names) memos_.erase(hwnd);
  memos_.erase(form.window);
  if (window == Window::Grade) cellMemos_.clear();
  DestroyWindow(form.window);
}

void Win32Shell::Dispatch(const std::function<void(EventHandler&)>& routine) {
  if (handler_ == nullptr || Ended()) return;
  try {
    routine(*handler_);
  } catch (const ProgramEnded&) {
    // Run sees the end and stops.
  }
}

LRESULT Win32Shell::OnTopMessage(Window window, HWND hwnd, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
  const Form* form = Find(window);
  switch (message) {
    case WM_CLOSE:
      Closing(window);
      return 0;
    case WM_SETCURSOR:
      if (busyDepth_ > 0) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_COMMAND: {
      HWND control = reinterpret_cast<HWND>(lParam);
      if (form != nullptr && control != nullptr && HIWORD(wParam) == BN_CLICKED &&
          IsClickable(control)) {
        const auto name = form->names.find(control);
        if (name != form->names.end()) {
          const text::Text controlName = name->second;
          Dispatch([&](EventHandler& h) { h.Clicked(window, controlName); });
        }
        return 0;
      }
      break;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == LVN_ITEMCHANGED && header->hwndFrom == List() && !settingTicks_) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        const UINT before = StateImage(change->uOldState);
        const UINT after = StateImage(change->uNewState);
        if ((change->uChanged & LVIF_STATE) != 0 && change->iItem >= 0 && before != 0 &&
            after != 0 && before != after) {
          const int row = change->iItem;
          const int state = after == 2 ? 1 : 0;
          Dispatch([&](EventHandler& h) { h.ListToggled(row, state); });
        }
      }
      break;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Win32Shell::TopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* shell = reinterpret_cast<Win32Shell*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (shell != nullptr) {
    if (const std::optional<Window> window = shell->WindowOf(hwnd)) {
      return shell->OnTopMessage(*window, hwnd, message, wParam, lParam);
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Win32Shell::GroupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // A group box is the parent of the controls inside it: their notifications go to the window.
  switch (message) {
    case WM_ERASEBKGND: {
      // A group box paints only its frame and caption; the room inside is the window's colour.
      RECT inside;
      GetClientRect(hwnd, &inside);
      FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
      return TRUE;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    default:
      return CallWindowProcW(OriginalProc(hwnd), hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK Win32Shell::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = OriginalProc(hwnd);
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
    // The key-down event comes before the edit box handles the key.
    Win32Shell* shell = g_shell;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    const std::optional<Window> window = shell == nullptr ? std::nullopt : shell->WindowOf(root);
    if (window) {
      const Form* form = shell->Find(*window);
      const auto name = form->names.find(hwnd);
      if (name != form->names.end()) {
        const text::Text controlName = name->second;
        const int keyCode = static_cast<int>(wParam);
        const int modifiers = ModifierBits();
        shell->Dispatch(
            [&](EventHandler& h) { h.KeyDown(*window, controlName, keyCode, modifiers); });
      }
    }
    if (!IsWindow(hwnd)) return 0;
  } else if (message == WM_CHAR && (wParam == L'\r' || wParam == L'\t' || wParam == 0x1B)) {
    return 0;  // Enter, Tab and Esc type nothing (a single-line box would beep)
  }
  return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

}  // namespace ui
