// Icons owned one by one, and an ordered list of them that tells its owner of every change.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

class TUniqueIcon {
 public:
  TUniqueIcon() = default;
  explicit TUniqueIcon(HICON icon) : Icon_(icon) {}
  TUniqueIcon(const TUniqueIcon&) = delete;
  TUniqueIcon& operator=(const TUniqueIcon&) = delete;
  TUniqueIcon(TUniqueIcon&& other) noexcept : Icon_(std::exchange(other.Icon_, nullptr)) {}
  TUniqueIcon& operator=(TUniqueIcon&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.Icon_, nullptr));
    return *this;
  }
  ~TUniqueIcon() { Reset(); }

  HICON Get() const { return Icon_; }
  explicit operator bool() const { return Icon_ != nullptr; }
  void Reset(HICON icon = nullptr) {
    if (Icon_ != nullptr) DestroyIcon(Icon_);
    Icon_ = icon;
  }
  // An owned copy of any icon, the list's or the shell's.
  static TUniqueIcon CopyOf(HICON icon) { return TUniqueIcon(icon ? CopyIcon(icon) : nullptr); }
  // An icon resource of the module at the given size (0, 0: its own size).
  static TUniqueIcon Load(HINSTANCE module, int id, int width = 0, int height = 0);

 private:
  HICON Icon_ = nullptr;
};

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
