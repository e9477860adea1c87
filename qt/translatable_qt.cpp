#include "qt/translatable_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

#include "qt/qt_text.h"
#include "ui/shell/texts.h"

std::wstring& ApplicationTitle() {
  static std::wstring title = kApplicationTitle;
  return title;
}

namespace {

bool HasText(QWidget* widget) {
  return qobject_cast<QLabel*>(widget) != nullptr ||
         qobject_cast<QAbstractButton*>(widget) != nullptr;
}

}  // namespace

TQtTranslatableForm::TQtTranslatableForm(QWidget& form) : Form_(form) {
  for (QWidget* child : form.findChildren<QWidget*>()) {
    if (HasText(child)) Parts_.push_back(child);
  }
}

std::size_t TQtTranslatableForm::TextCount() { return 1 + static_cast<std::size_t>(Parts_.size()); }

std::wstring TQtTranslatableForm::Text(std::size_t index) {
  if (index == 0) return W(Form_.windowTitle());
  QWidget* part = Parts_.at(static_cast<qsizetype>(index - 1));
  if (auto* label = qobject_cast<QLabel*>(part)) return W(label->text());
  return W(qobject_cast<QAbstractButton*>(part)->text());
}

void TQtTranslatableForm::SetText(std::size_t index, const std::wstring& text) {
  if (index == 0) {
    Form_.setWindowTitle(Q(text));
    return;
  }
  QWidget* part = Parts_.at(static_cast<qsizetype>(index - 1));
  if (auto* label = qobject_cast<QLabel*>(part)) {
    label->setText(Q(text));
    return;
  }
  qobject_cast<QAbstractButton*>(part)->setText(Q(text));
}

TQtTranslatableScreen::TQtTranslatableScreen() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) Forms_.push_back(std::make_unique<TQtTranslatableForm>(*window));
  }
}

std::wstring TQtTranslatableScreen::Title() { return ApplicationTitle(); }

void TQtTranslatableScreen::SetTitle(const std::wstring& title) { ApplicationTitle() = title; }

std::size_t TQtTranslatableScreen::FormCount() { return Forms_.size(); }

TTranslatableForm& TQtTranslatableScreen::Form(std::size_t index) { return *Forms_.at(index); }
