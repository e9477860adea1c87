// The setup dialog's port check list: a check column of 18 pixels before each row's text,
// greyed rows for ports that cannot be opened, and the answers to the mouse and the keys
// that ui/setup/setup_form.h decides.
#pragma once

#include <QListWidget>
#include <vector>

#include "ui/setup/setup_form.h"

class TPortList final : public QListWidget {
 public:
  explicit TPortList(QWidget* parent);
  void SetItems(std::vector<TPortItem> items);
  const std::vector<TPortItem>& Items() const { return Items_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Click(int row);
  void Refresh();

  std::vector<TPortItem> Items_;
};
