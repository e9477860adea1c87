// The program's message dialog in Qt: built afresh for each message by the layout decisions
// of ui/dialogs/message_dialog.h, shown modally, and answered with the closing button's
// result (2 for the close box).
#pragma once

#include <QWidget>
#include <string>

#include "ui/dialogs/message_dialog.h"

// Every dialog's object name, by which the exit request finds an open exit question.
inline constexpr char kMessageFormClass[] = "TMessageForm";

int ShowMessageDialog(const std::wstring& text, MessageKind kind, MessageButtons buttons,
                      int helpContext);

// This program's open dialog with the given caption, or none.
QWidget* FindMessageForm(const std::wstring& caption);
