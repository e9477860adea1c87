// qvm_help.dll: the product's help library. The program asks for its table of entry points,
// initialises it once with the document directory and name, then asks for topics; each
// request opens (or reuses) a help window of the library's own on the caller's GUI thread
// and returns at once, the window living on in the caller's message loop.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "companions/qvm_help/help_document.h"
#include "core/unique_handle_win.h"

namespace {

constexpr wchar_t kViewerClass[] = L"QvmHelpViewer";
constexpr wchar_t kCaptionPrefix[] = L"Помощь: ";
constexpr wchar_t kNoDocument[] = L"Документ справки не найден: ";
constexpr wchar_t kNotInitialised[] = L"Справка не инициализирована.";
constexpr int kTopicListId = 10;
constexpr int kTopicTextId = 11;
// The viewer's sizes at 96 DPI; the program that loads the library scales its windows
// itself, so the viewer does too.
constexpr int kDesignDpi = 96;
constexpr int kViewerWidth = 680;
constexpr int kViewerHeight = 460;
constexpr int kListWidth = 190;
constexpr int kGap = 6;

HINSTANCE Module = nullptr;
THelpDocument Document;
std::wstring Problem = kNotInitialised;  // shown instead of topics while set
std::vector<std::int32_t> ListContexts;  // the context of each list entry
TUniqueWindow Viewer;
TUniqueFont ViewerFont;
int ViewerDpi = kDesignDpi;

std::wstring ReadUtf8File(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  if (!file) return {};
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                      length);
  return text;
}

// The system's DPI, or a window's where the running Windows can say (10 and later).
int DpiOf(HWND window) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (window != nullptr && getDpiForWindow != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) return static_cast<int>(dpi);
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int Scaled(int designed) { return MulDiv(designed, ViewerDpi, kDesignDpi); }

// The message font at the viewer's DPI (the system gives it at its own), Cyrillic.
TUniqueFont CreateViewerFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
  LOGFONTW& font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, ViewerDpi, DpiOf(nullptr));
  font.lfCharSet = RUSSIAN_CHARSET;
  return TUniqueFont(CreateFontIndirectW(&font));
}

void LayoutViewer(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const int gap = Scaled(kGap);
  const int listWidth = Scaled(kListWidth);
  const int height = client.bottom - 2 * gap;
  MoveWindow(GetDlgItem(window, kTopicListId), gap, gap, listWidth, height, TRUE);
  MoveWindow(GetDlgItem(window, kTopicTextId), 2 * gap + listWidth, gap,
             client.right - 3 * gap - listWidth, height, TRUE);
}

void SetViewerFont(HWND window) {
  TUniqueFont previous = std::move(ViewerFont);
  ViewerFont = CreateViewerFont();
  for (const int id : {kTopicListId, kTopicTextId})
    SendDlgItemMessageW(window, id, WM_SETFONT, reinterpret_cast<WPARAM>(ViewerFont.Get()), TRUE);
}

// Dragged to a screen of another DPI: the font made again for it, the window at the place
// the system suggests.
void OnDpiChanged(HWND window, int dpi, const RECT& suggested) {
  ViewerDpi = dpi;
  SetViewerFont(window);
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutViewer(window);
}

void ShowTopicText(std::int32_t context) {
  const auto topic = Document.find(context);
  if (topic == Document.end()) return;
  SetWindowTextW(Viewer.Get(), (kCaptionPrefix + topic->second.Title).c_str());
  SetDlgItemTextW(Viewer.Get(), kTopicTextId, topic->second.Text.c_str());
  for (std::size_t i = 0; i < ListContexts.size(); ++i) {
    if (ListContexts[i] == context)
      SendDlgItemMessageW(Viewer.Get(), kTopicListId, LB_SETCURSEL, i, 0);
  }
}

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      LayoutViewer(window);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kTopicListId && HIWORD(wParam) == LBN_SELCHANGE) {
        const LRESULT index = SendDlgItemMessageW(window, kTopicListId, LB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<std::size_t>(index) < ListContexts.size()) {
          ShowTopicText(ListContexts[static_cast<std::size_t>(index)]);
        }
      }
      return 0;
    case WM_DESTROY:
      Viewer.Release();  // closed by the operator: nothing left to destroy
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND CreateChild(HWND parent, const wchar_t* cls, DWORD style, int id) {
  const HWND child =
      CreateWindowExW(WS_EX_CLIENTEDGE, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Module, nullptr);
  if (ViewerFont) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(ViewerFont.Get()), FALSE);
  return child;
}

void CreateViewer() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ViewerProc;
  wc.hInstance = Module;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_QUESTION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kViewerClass;
  RegisterClassExW(&wc);
  ViewerDpi = DpiOf(nullptr);
  ViewerFont = CreateViewerFont();

  const int width = Scaled(kViewerWidth);
  const int height = Scaled(kViewerHeight);
  Viewer.Reset(CreateWindowExW(0, kViewerClass, kCaptionPrefix,
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                               nullptr, nullptr, Module, nullptr));
  const HWND list =
      CreateChild(Viewer.Get(), L"LISTBOX", WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kTopicListId);
  CreateChild(Viewer.Get(), L"EDIT", WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
              kTopicTextId);
  ListContexts.clear();
  for (const auto& [context, topic] : Document) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(topic.Title.c_str()));
    ListContexts.push_back(context);
  }
  LayoutViewer(Viewer.Get());
}

void ShowTopic(std::int32_t context) {
  if (!Viewer) CreateViewer();
  if (!Problem.empty()) {
    SetDlgItemTextW(Viewer.Get(), kTopicTextId, Problem.c_str());
  } else {
    // A context the document lacks opens the contents page.
    ShowTopicText(Document.count(context) != 0 ? context : kContentsTopic);
  }
  ShowWindow(Viewer.Get(), IsIconic(Viewer.Get()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(Viewer.Get());
}

// The program hands its texts over in code page 1251, whatever the system's own code page.
std::wstring FromCp1251(const char* text) {
  const int length = MultiByteToWideChar(1251, 0, text, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(1251, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

void __cdecl Initialise(const char* directory, const char* document, std::int32_t) {
  const std::wstring path = FromCp1251(directory) + L"\\" + FromCp1251(document);
  Document = ParseHelpDocument(ReadUtf8File(path));
  Problem = Document.count(kContentsTopic) != 0 ? std::wstring() : kNoDocument + path;
}

void __cdecl ShowContext(std::int32_t context) { ShowTopic(context); }

void __cdecl ShowContents() { ShowTopic(kContentsTopic); }

enum Slot { SlotInitialise = 1, SlotContext = 2, SlotContents = 3, SlotCount = 6 };

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) Module = instance;
  // Unloaded while the program goes on: the window must not outlive its code.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    Viewer.Reset();
    UnregisterClassW(kViewerClass, Module);
    ViewerFont.Reset();
  }
  return TRUE;
}

// Fills the caller's six-entry table; slots 0, 4 and 5 are left empty.
extern "C" __declspec(dllexport) void __cdecl help_get_export_list(void** table) {
  for (int i = 0; i < SlotCount; ++i) table[i] = nullptr;
  table[SlotInitialise] = reinterpret_cast<void*>(&Initialise);
  table[SlotContext] = reinterpret_cast<void*>(&ShowContext);
  table[SlotContents] = reinterpret_cast<void*>(&ShowContents);
}
