#include "services/about_bridge_win.h"

#include <windows.h>

#include <string>

#include "core/unique_handle_win.h"
#include "services/library_search_win.h"
#include "services/service_texts.h"
#include "services/trint.h"

namespace {

using TShowAbout = void (*)();

void ShowAboutError(const std::wstring& text) {
  const std::wstring caption = Translate(kAboutErrorCaption, 0);
  MessageBoxW(GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

void ShowAbout() {
  // Loaded for each request and unloaded right after: the box is modal, so the library's
  // code is no longer running when it goes.
  TUniqueLibrary library(LoadLibraryW(kAboutLibrary));
  if (!library) {
    ShowAboutError(Translate(kAboutLoadFailed, 0) + kAboutLibrary);
    return;
  }
  if (const auto show = ExportOf<TShowAbout>(library.Get(), kAboutExport)) {
    show();
    return;
  }
  ShowAboutError(Translate(kAboutFunctionPrefix, 0) + L"show_about" +
                 Translate(kAboutInLibrary, 0) + kAboutLibrary + Translate(kAboutNotFound, 0));
}
