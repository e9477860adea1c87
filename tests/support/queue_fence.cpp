#include "tests/support/queue_fence.h"

#include "tests/support/wait.h"

namespace {

constexpr wchar_t kClassName[] = L"LintavoQueueFence";
constexpr UINT kFenceMessage = WM_APP + 0x3F0;

}  // namespace

TQueueFence::TQueueFence() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &TQueueFence::WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);
  Window_.Reset(CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr));
  SetWindowLongPtrW(Window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

int TQueueFence::Post() {
  const int number = ++Posted_;
  PostMessageW(Window_.Get(), kFenceMessage, static_cast<WPARAM>(number), 0);
  return number;
}

bool TQueueFence::PostAndWait(DWORD timeoutMs) {
  const int number = Post();
  return WaitUntil([&] { return Passed(number); }, timeoutMs);
}

LRESULT CALLBACK TQueueFence::WindowProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
  if (message != kFenceMessage) return DefWindowProcW(window, message, wParam, lParam);
  auto* self = reinterpret_cast<TQueueFence*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) self->Passed_ = static_cast<int>(wParam);
  return 0;
}
