// The help bridge: the program's side of the companion help library qvm_help.dll. The
// library is loaded when the main window is created and unloaded when it closes. GUI thread.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/unique_handle_win.h"

inline constexpr wchar_t kHelpLibrary[] = L"qvm_help.dll";
inline constexpr char kHelpExportList[] = "help_get_export_list";
inline constexpr char kHelpDocumentName[] = "Lintavo.crf";

// The library's table of entry points; every one is cdecl (the caller removes the
// arguments), on both builds. Texts cross as zero-terminated code page 1251.
enum HelpSlot : int {
  HelpSlotInitialise = 1,  // (const char* directory, const char* document, int32 0)
  HelpSlotContext = 2,     // (int32 context)
  HelpSlotContents = 3,    // ()
  HelpSlotCount = 6,
};
using THelpTable = std::array<void*, HelpSlotCount>;
using THelpGetExportList = void(__cdecl*)(void** table);
using THelpInitialise = void(__cdecl*)(const char* directory, const char* document,
                                       std::int32_t reserved);
using THelpShowContext = void(__cdecl*)(std::int32_t context);
using THelpShowContents = void(__cdecl*)();

class THtmlHelpObj {
 public:
  // Loads the library and hands it the document directory; failures leave an object that
  // reports them when help is asked for. A directory that code page 1251 cannot spell goes
  // by its short form; without one the library is left uninitialised, and every request
  // then shows the initialisation error rather than opening a wrong path.
  explicit THtmlHelpObj(const std::wstring& documentDirectory);
  THtmlHelpObj(const THtmlHelpObj&) = delete;
  THtmlHelpObj& operator=(const THtmlHelpObj&) = delete;

  bool LibraryLoaded() const { return static_cast<bool>(LibHandle); }
  // False when the library gave no entry point for the request.
  bool ShowContents() const;
  bool ShowContext(std::int32_t context) const;

 private:
  TUniqueLibrary LibHandle;
  THelpTable Table{};
};

extern std::unique_ptr<THtmlHelpObj> HelpObj;

void CreateHelpObj(const std::wstring& documentDirectory);
void ReleaseHelpObj();
void ShowHelpContents();
void ShowHelpContext(std::int32_t context);
