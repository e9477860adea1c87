// The base of every window of the program. A derived class names its window class and
// handles its own messages; the base registers the class once, binds the object to its
// window from WM_NCCREATE to WM_NCDESTROY, and keeps any exception from leaving the window
// procedure: it goes to the program's error report and the message counts as handled.
//
// The derived class provides:
//   static constexpr const wchar_t* kClassName;
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// and may provide, hiding the base's:
//   static void DescribeClass(WNDCLASSEXW& windowClass);  // icon, cursor, menu, brush
//   static constexpr bool kDialog = true;  // a dialog class: the dialog manager's defaults
//   static constexpr const wchar_t* kBaseClass = L"LISTBOX";  // a control of the system's,
//                                          // given the program's own handlers on top
//   void ReportError(const std::wstring& text);           // another report than the standard
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <utility>

#include "core/unique_handle_win.h"
#include "ui/shell/window_error_report_win.h"

// Where and how a window is made.
struct TWindowPlace {
  DWORD ExStyle = 0;
  const wchar_t* Caption = L"";
  DWORD Style = 0;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  HWND Parent = nullptr;  // the owner of a top-level window
  HMENU Menu = nullptr;   // a child's identifier
};

template <typename Derived>
class TWindow {
 public:
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Handle() const { return Window_.Get(); }

  static constexpr bool kDialog = false;
  static constexpr const wchar_t* kBaseClass = nullptr;
  static void DescribeClass(WNDCLASSEXW&) {}
  void ReportError(const std::wstring& text) { ReportToApplication(text); }

 protected:
  TWindow() = default;
  // The derived part is gone by now, so the window is destroyed without reaching it.
  ~TWindow() { DestroyHandle(); }

  // Makes the window bound to this object; false when the platform refused.
  bool CreateHandle(const TWindowPlace& place) {
    if (!RegisterOnce()) return false;
    CreateWindowExW(place.ExStyle, Derived::kClassName, place.Caption, place.Style, place.Left,
                    place.Top, place.Width, place.Height, place.Parent, place.Menu,
                    GetModuleHandleW(nullptr), this);
    return static_cast<bool>(Window_);
  }

  // Makes a dialog of this class from a template that names it; the dialog manager passes
  // no creation parameter of ours, so the object waits for its window on this thread.
  bool CreateDialogHandle(const DLGTEMPLATE* dialogTemplate, HWND owner) {
    if (!RegisterOnce()) return false;
    Creating_ = this;
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, owner,
                               &TWindow::NoDialogProcedure, 0);
    Creating_ = nullptr;
    return static_cast<bool>(Window_);
  }

  // Destroys the window through its own handlers.
  void Destroy() { Window_.Reset(); }

  // Destroys the window now, without its handlers: for a derived object whose window must
  // go before the fonts or pictures its controls still show.
  void DestroyHandle() {
    if (!Window_) return;
    SetWindowLongPtrW(Window_.Get(), GWLP_USERDATA, 0);
    Window_.Reset();
  }

  // What the platform does with a message the window leaves alone.
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(Handle(), message, wParam, lParam);
  }

 private:
  static LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Derived::kDialog) return DefDlgProcW(window, message, wParam, lParam);
    if (BaseProc_ != nullptr) return CallWindowProcW(BaseProc_, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
  }

  static bool RegisterOnce() {
    static const bool registered = [] {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof windowClass;
      if (Derived::kBaseClass != nullptr) {
        if (!GetClassInfoExW(nullptr, Derived::kBaseClass, &windowClass)) return false;
        BaseProc_ = windowClass.lpfnWndProc;
      }
      windowClass.lpfnWndProc = &TWindow::WindowProc;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      windowClass.lpszClassName = Derived::kClassName;
      if (Derived::kDialog) windowClass.cbWndExtra = DLGWINDOWEXTRA;
      Derived::DescribeClass(windowClass);
      return RegisterClassExW(&windowClass) != 0;
    }();
    return registered;
  }

  static TWindow* Bind(HWND window, LPARAM lParam) {
    TWindow* self = std::exchange(Creating_, nullptr);
    if (self == nullptr)
      self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self == nullptr) return nullptr;
    self->Window_.Reset(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = message == WM_NCCREATE
                     ? Bind(window, lParam)
                     : reinterpret_cast<TWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefaultProc(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
      result = static_cast<Derived*>(self)->HandleMessage(message, wParam, lParam);
    } catch (...) {
      ReportCurrentException(
          [self](const std::wstring& text) { static_cast<Derived*>(self)->ReportError(text); });
    }
    if (message == WM_NCDESTROY) {
      // The window is gone: the object no longer owns it and hears nothing more of it.
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->Window_.Release();
    }
    return result;
  }

  // Every message of a dialog of this class reaches WindowProc first; the dialog procedure
  // the dialog manager asks for has nothing left to add.
  static INT_PTR CALLBACK NoDialogProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

  static inline thread_local TWindow* Creating_ = nullptr;
  static inline WNDPROC BaseProc_ = nullptr;  // the system control's own procedure
  TUniqueWindow Window_;
};
