// A binary's version resource as Windows' file properties show it: the fixed numbers, the
// translations it declares and the texts of one StringFileInfo block.
#pragma once

#include <windows.h>

#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

class TVersionResource {
 public:
  explicit TVersionResource(const std::filesystem::path& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return;
    Data_.resize(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, Data_.data())) Data_.clear();
  }

  bool Loaded() const { return !Data_.empty(); }

  // FILEVERSION and PRODUCTVERSION as "a.b.c.d".
  std::wstring FileVersion() const { return Fixed(true); }
  std::wstring ProductVersion() const { return Fixed(false); }

  // Each declared translation as language << 16 | code page.
  std::vector<DWORD> Translations() const {
    std::vector<DWORD> found;
    void* value = nullptr;
    UINT length = 0;
    if (!Query(L"\\VarFileInfo\\Translation", &value, &length)) return found;
    const auto* pairs = static_cast<const WORD*>(value);
    for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2)
      found.push_back(static_cast<DWORD>(pairs[i]) << 16 | pairs[i + 1]);
    return found;
  }

  // The StringFileInfo block of a translation, e.g. "041904B0".
  static std::wstring BlockOf(DWORD translation) {
    wchar_t block[9] = {};
    swprintf(block, 9, L"%08lX", static_cast<unsigned long>(translation));
    return block;
  }

  // A text of the block, e.g. Text(L"041904B0", L"ProductName"); empty when missing.
  std::wstring Text(const std::wstring& block, const std::wstring& name) const {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\" + block + L"\\" + name;
    if (!Query(path.c_str(), &value, &length) || length == 0) return {};
    return static_cast<const wchar_t*>(value);
  }

 private:
  bool Query(const wchar_t* path, void** value, UINT* length) const {
    return Loaded() && VerQueryValueW(Data_.data(), path, value, length) && *value != nullptr;
  }

  std::wstring Fixed(bool file) const {
    void* value = nullptr;
    UINT length = 0;
    if (!Query(L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return {};
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    const DWORD high = file ? info->dwFileVersionMS : info->dwProductVersionMS;
    const DWORD low = file ? info->dwFileVersionLS : info->dwProductVersionLS;
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
           std::to_wstring(HIWORD(low)) + L"." + std::to_wstring(LOWORD(low));
  }

  std::vector<char> Data_;
};

}  // namespace e2e
