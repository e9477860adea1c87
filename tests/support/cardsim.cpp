#include "tests/support/cardsim.h"

#include "tests/support/child_process.h"
#include "tests/support/test_paths.h"

DWORD RunCardsim(const std::wstring& args, DWORD timeoutMs) {
  const std::filesystem::path path =
      (TestProgramDir() / L".." / L"tools" / L"cardsim" / L"cardsim.exe").lexically_normal();
  TChildProcess cardsim(L"\"" + path.wstring() + L"\" " + args);
  return cardsim.Started() ? cardsim.Wait(timeoutMs) : STILL_ACTIVE;
}
