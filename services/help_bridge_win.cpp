#include "services/help_bridge_win.h"

#include <new>

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

}  // namespace

THtmlHelpObj::THtmlHelpObj(const std::wstring& documentDirectory)
    : LibHandle(LoadLibraryW(kHelpLibrary)) {
  if (!LibHandle) return;
  const auto getExportList = LibHandle.Export<THelpGetExportList>(kHelpExportList);
  if (getExportList == nullptr) return;
  getExportList(Table.data());
  if (const auto initialise = Slot<THelpInitialise>(Table, HelpSlotInitialise)) {
    initialise(documentDirectory.c_str(), kHelpDocumentName, 0);
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
