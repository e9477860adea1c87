#include "services/help_bridge_win.h"

#include <new>
#include <optional>
#include <string>

#include "services/cp1251.h"
#include "services/library_search_win.h"
#include "services/service_texts.h"

std::unique_ptr<THtmlHelpObj> HelpObj;

namespace {

template <typename F>
F Slot(const THelpTable& table, HelpSlot slot) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(table[slot]));
}

void ShowHelpError(const wchar_t* text) {
  MessageBoxW(GetActiveWindow(), text, kHelpCaption, MB_OK | MB_ICONERROR);
}

// The common path of every help request: an object and a library, or the matching box.
template <typename Request>
void RequestHelp(Request request) {
  if (!HelpObj) {
    ShowHelpError(kHelpInitError);
  } else if (!HelpObj->LibraryLoaded()) {
    ShowHelpError(kHelpLibraryMissing);
  } else if (!request(*HelpObj)) {
    ShowHelpError(kHelpInitError);
  }
}

// The path's short (8.3) form, or nothing where the system keeps none. A folder that
// does not exist yet has no short form of its own, so its parent's is used.
std::wstring ShortPathOf(const std::wstring& path) {
  std::wstring shortPath(MAX_PATH, L'\0');
  DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash == 0) return {};
    const std::wstring parent = ShortPathOf(path.substr(0, slash));
    return parent.empty() ? parent : parent + path.substr(slash);
  }
  shortPath.resize(length);
  return shortPath;
}

std::optional<std::string> DirectoryForLibrary(const std::wstring& directory) {
  if (auto text = WideToCp1251Exact(directory)) return text;
  const std::wstring shortPath = ShortPathOf(directory);
  if (shortPath.empty()) return std::nullopt;
  return WideToCp1251Exact(shortPath);
}

}  // namespace

THtmlHelpObj::THtmlHelpObj(const std::wstring& documentDirectory)
    : LibHandle(LoadLibraryW(kHelpLibrary)) {
  if (!LibHandle) return;
  const auto getExportList = ExportOf<THelpGetExportList>(LibHandle.Get(), kHelpExportList);
  if (getExportList == nullptr) return;
  getExportList(Table.data());
  const std::optional<std::string> directory = DirectoryForLibrary(documentDirectory);
  if (!directory) {
    Table = {};
    return;
  }
  if (const auto initialise = Slot<THelpInitialise>(Table, HelpSlotInitialise)) {
    initialise(directory->c_str(), kHelpDocumentName, 0);
  }
}

bool THtmlHelpObj::ShowContents() const {
  const auto show = Slot<THelpShowContents>(Table, HelpSlotContents);
  if (show == nullptr) return false;
  show();
  return true;
}

bool THtmlHelpObj::ShowContext(std::int32_t context) const {
  const auto show = Slot<THelpShowContext>(Table, HelpSlotContext);
  if (show == nullptr) return false;
  show(context);
  return true;
}

void CreateHelpObj(const std::wstring& documentDirectory) {
  HelpObj.reset(new (std::nothrow) THtmlHelpObj(documentDirectory));
}

void ReleaseHelpObj() { HelpObj.reset(); }

void ShowHelpContents() {
  RequestHelp([](const THtmlHelpObj& help) { return help.ShowContents(); });
}

void ShowHelpContext(std::int32_t context) {
  RequestHelp([context](const THtmlHelpObj& help) { return help.ShowContext(context); });
}
