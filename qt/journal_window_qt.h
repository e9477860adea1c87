// The window «Журнал карт»: the cards of this run, newest on top, with where each went and
// what became of it; the numbers of the chosen rows go to the clipboard, to be put where
// they belong by hand. One window, made at its first opening and hidden when closed.
#pragma once

#include <QTableView>
#include <QWidget>
#include <cstdint>
#include <optional>

class TJournalModel;

class TJournalWindow final : public QWidget {
 public:
  explicit TJournalWindow(QWidget* owner);

  // Takes in the rows the journal gained since the last look.
  void Refresh();
  // Brings the window to the front, with the card of `serial` chosen and in view.
  void Open(std::optional<std::uint64_t> serial);

 private:
  void Select(std::uint64_t serial);
  void CopyNumbers();

  TJournalModel* Model_ = nullptr;
  QTableView* Table_ = nullptr;
  QAction* Copy_ = nullptr;
};
