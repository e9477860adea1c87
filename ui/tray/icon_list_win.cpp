#include "ui/tray/icon_list_win.h"

TUniqueIcon CopyIconOf(HICON icon) { return TUniqueIcon(icon ? CopyIcon(icon) : nullptr); }

TUniqueIcon LoadIconResource(HINSTANCE module, int id, int width, int height) {
  const UINT flags = width == 0 && height == 0 ? LR_DEFAULTSIZE : 0;
  return TUniqueIcon(static_cast<HICON>(
      LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, flags)));
}

HICON TIconList::operator[](int index) const {
  return Holds(index) ? Icons_[static_cast<std::size_t>(index)].Get() : nullptr;
}

void TIconList::Add(TUniqueIcon icon) {
  Icons_.push_back(std::move(icon));
  Changed();
}

void TIconList::Delete(int index) {
  if (!Holds(index)) return;
  Icons_.erase(Icons_.begin() + index);
  Changed();
}

void TIconList::Exchange(int first, int second) {
  if (!Holds(first) || !Holds(second)) return;
  std::swap(Icons_[static_cast<std::size_t>(first)], Icons_[static_cast<std::size_t>(second)]);
  Changed();
}

void TIconList::Move(int from, int to) {
  if (!Holds(from) || !Holds(to) || from == to) return;
  TUniqueIcon icon = std::move(Icons_[static_cast<std::size_t>(from)]);
  Icons_.erase(Icons_.begin() + from);
  Icons_.insert(Icons_.begin() + to, std::move(icon));
  Changed();
}

void TIconList::Reload(std::vector<TUniqueIcon> icons) {
  Icons_ = std::move(icons);
  Changed();
}

void TIconList::EndUpdate() {
  if (UpdateDepth_ > 0 && --UpdateDepth_ == 0 && ChangedInUpdate_) {
    ChangedInUpdate_ = false;
    if (OnChange) OnChange();
  }
}

void TIconList::Changed() {
  if (UpdateDepth_ > 0) {
    ChangedInUpdate_ = true;
    return;
  }
  if (OnChange) OnChange();
}
