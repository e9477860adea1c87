#include "tests/support/companion_folder.h"

#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

bool TCompanionFolder::AddProbe() const {
  return CopyIn(TestProgramDir() / L"services_probe.exe", Path() / L"services_probe.exe");
}

bool TCompanionFolder::AddFake(const std::wstring& fake, const std::wstring& library) const {
  return CopyIn(TestProgramDir() / L"fakes" / fake / library, Path() / library);
}

bool TCompanionFolder::AddReal(const std::wstring& library) const {
  return CopyIn(ProductDir() / library, Path() / library);
}

bool TCompanionFolder::AddDocFolder() const {
  std::error_code error;
  fs::create_directories(Path() / L"DOC", error);
  return !error;
}

bool TCompanionFolder::AddRealHelp() const {
  return AddReal(L"qvm_help.dll") && AddDocFolder() &&
         CopyIn(ProductDir() / L"DOC" / L"Lintavo.crf", Path() / L"DOC" / L"Lintavo.crf");
}

bool TCompanionFolder::CopyIn(const fs::path& from, const fs::path& to) const {
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  return !error;
}
