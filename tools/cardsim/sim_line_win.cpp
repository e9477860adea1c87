#include <windows.h>

#include "core/unique_handle_win.h"
#include "tools/cardsim/sim_line.h"
#include "tools/cardsim/sim_run.h"

namespace cardsim {

namespace {

class TComLine final : public TSimLine {
 public:
  explicit TComLine(HANDLE handle) : Handle_(handle) {}

  bool Write(std::span<const std::uint8_t> bytes) override {
    DWORD written = 0;
    return WriteFile(Handle_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size() && FlushFileBuffers(Handle_.Get());
  }

 private:
  TUniqueHandle Handle_;
};

std::wstring DevicePath(const std::string& port) {
  std::wstring path(port.begin(), port.end());
  return path.starts_with(L"\\\\") ? path : L"\\\\.\\" + path;
}

std::string LastErrorText() { return "Windows error " + std::to_string(GetLastError()); }

}  // namespace

std::unique_ptr<TSimLine> TSimLine::Open(const std::string& port, std::string& error) {
  const HANDLE handle = CreateFileW(DevicePath(port).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = LastErrorText();
    return nullptr;
  }
  auto line = std::make_unique<TComLine>(handle);
  DCB dcb{};
  dcb.DCBlength = sizeof(dcb);
  if (!GetCommState(handle, &dcb)) {
    error = LastErrorText();
    return nullptr;
  }
  dcb.BaudRate = CBR_19200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fOutX = dcb.fInX = FALSE;
  if (!SetCommState(handle, &dcb)) {
    error = LastErrorText();
    return nullptr;
  }
  return line;
}

}  // namespace cardsim

// Port names and numbers are plain ASCII; anything else cannot name a port anyway.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::string arg;
    for (const wchar_t* c = argv[i]; *c != L'\0'; ++c)
      arg.push_back(*c < 128 ? static_cast<char>(*c) : '?');
    args.push_back(std::move(arg));
  }
  return cardsim::Run(args);
}
