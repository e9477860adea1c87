// A program folder laid out for the companion bridges: the services probe, and beside it the
// real companion libraries or the recording stand-ins built under the same names.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/scratch_dir.h"

class TCompanionFolder {
 public:
  explicit TCompanionFolder(const std::wstring& name) : Folder_(name) {}

  const std::filesystem::path& Path() const { return Folder_.Path(); }
  // Each is true when the files are in place.
  bool AddProbe() const;
  // A stand-in from the tests' fakes\<fake>\ folder (help, help_bare, about, about_bare),
  // under the library's own name.
  bool AddFake(const std::wstring& fake, const std::wstring& library) const;
  // The product's own library.
  bool AddReal(const std::wstring& library) const;
  // An empty DOC folder, where the help library is told to look.
  bool AddDocFolder() const;
  // The product's help library with its document.
  bool AddRealHelp() const;

 private:
  bool CopyIn(const std::filesystem::path& from, const std::filesystem::path& to) const;

  TScratchDir Folder_;
};
