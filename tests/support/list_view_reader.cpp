#include "tests/support/list_view_reader.h"

#include <commctrl.h>

#include "core/unique_handle_win.h"

namespace {

constexpr DWORD kAnswerMs = 5000;
constexpr int kMostChars = 512;

LRESULT Ask(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(list, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result);
  return static_cast<LRESULT>(result);
}

// Memory in the list's process, for the list to write its answer into.
class TLentMemory {
 public:
  TLentMemory(HANDLE process, std::size_t bytes)
      : Process_(process),
        Address_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE)) {}
  ~TLentMemory() {
    if (Address_ != nullptr) VirtualFreeEx(Process_, Address_, 0, MEM_RELEASE);
  }
  TLentMemory(const TLentMemory&) = delete;
  TLentMemory& operator=(const TLentMemory&) = delete;
  char* Address() const { return static_cast<char*>(Address_); }

 private:
  HANDLE Process_;
  void* Address_;
};

}  // namespace

int ListViewCount(HWND list) { return static_cast<int>(Ask(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ListViewText(HWND list, int line, int column) {
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  const TUniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process.Valid()) return L"<unreadable>";
  const TLentMemory memory(process.Get(), sizeof(LVITEMW) + kMostChars * sizeof(wchar_t));
  if (memory.Address() == nullptr) return L"<unreadable>";
  LVITEMW item{};
  item.iSubItem = column;
  item.cchTextMax = kMostChars;
  item.pszText = reinterpret_cast<wchar_t*>(memory.Address() + sizeof(LVITEMW));
  if (!WriteProcessMemory(process.Get(), memory.Address(), &item, sizeof item, nullptr))
    return L"<unreadable>";
  const auto length = static_cast<int>(
      Ask(list, LVM_GETITEMTEXTW, line, reinterpret_cast<LPARAM>(memory.Address())));
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (!text.empty() && !ReadProcessMemory(process.Get(), item.pszText, text.data(),
                                          text.size() * sizeof(wchar_t), nullptr))
    return L"<unreadable>";
  return text;
}

std::vector<int> ListViewSelected(HWND list) {
  std::vector<int> lines;
  int line = -1;
  while ((line = static_cast<int>(Ask(list, LVM_GETNEXTITEM, line, LVNI_SELECTED))) >= 0)
    lines.push_back(line);
  return lines;
}

int ListViewTopLine(HWND list) { return static_cast<int>(Ask(list, LVM_GETTOPINDEX, 0, 0)); }

bool ListViewShows(HWND list, int line) {
  const int top = ListViewTopLine(list);
  return line >= top && line < top + static_cast<int>(Ask(list, LVM_GETCOUNTPERPAGE, 0, 0));
}
