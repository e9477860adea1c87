// Icons owned one by one (TUniqueIcon), and an ordered list of them that tells its owner of every change.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "core/unique_handle_win.h"

// An owned copy of any icon, the list's or the shell's.
TUniqueIcon CopyIconOf(HICON icon);
// An icon resource of the module at the given size (0, 0: its own size).
TUniqueIcon LoadIconResource(HINSTANCE module, int id, int width = 0, int height = 0);

class TIconList {
 public:
  TIconList() = default;
  TIconList(const TIconList&) = delete;
  TIconList& operator=(const TIconList&) = delete;

  int Count() const { return static_cast<int>(Icons_.size()); }
  // The icon at index, still the list's; none when the index is out of range.
  HICON operator[](int index) const;

  void Add(TUniqueIcon icon);
  void Delete(int index);
  void Exchange(int first, int second);
  void Move(int from, int to);
  // Replaces the whole content, as reading the list back from storage does.
  void Reload(std::vector<TUniqueIcon> icons);
  void Clear() { Reload({}); }

  // Changes between these notify once, at the matching end.
  void BeginUpdate() { ++UpdateDepth_; }
  void EndUpdate();

  std::function<void()> OnChange;

 private:
  bool Holds(int index) const { return index >= 0 && index < Count(); }
  void Changed();

  std::vector<TUniqueIcon> Icons_;
  int UpdateDepth_ = 0;
  bool ChangedInUpdate_ = false;
};
