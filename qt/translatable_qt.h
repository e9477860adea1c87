// Qt windows as the localization hook sees them: the caption, then the texts of the labels
// and buttons the window holds, in the order they were made.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "services/trint.h"

// The application's title: the caption of the Custom message kind. Qt's own display name
// is left alone, since Qt would add it to every window's caption.
std::wstring& ApplicationTitle();

class TQtTranslatableForm final : public TTranslatableForm {
 public:
  explicit TQtTranslatableForm(QWidget& form);
  std::size_t TextCount() override;
  std::wstring Text(std::size_t index) override;
  void SetText(std::size_t index, const std::wstring& text) override;

 private:
  QWidget& Form_;
  QList<QWidget*> Parts_;
};

// Every visible top-level window of the program, and the application's title.
class TQtTranslatableScreen final : public TTranslatableScreen {
 public:
  TQtTranslatableScreen();
  std::wstring Title() override;
  void SetTitle(const std::wstring& title) override;
  std::size_t FormCount() override;
  TTranslatableForm& Form(std::size_t index) override;

 private:
  std::vector<std::unique_ptr<TQtTranslatableForm>> Forms_;
};
