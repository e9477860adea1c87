// Shows one message dialog of each kind in turn, each for the given time, for screenshots.
//   message_dialog_gallery KIND MILLISECONDS
#include <windows.h>

#include <string>
#include <thread>

#include "ui/shell/application_win.h"
#include "ui/dialogs/message_dialog_win.h"

namespace {

using B = MessageButton;

struct TSample {
  const wchar_t* Text;
  MessageButtons Buttons;
};

const TSample kSamples[] = {
    {L"Порт COM2 занят другой программой.", {B::OK}},
    {L"Драйвер контрольного считывателя\rуже запущен на Вашем компьютере!", {B::OK}},
    {L"Номер карты вводится в то окно, где стоит курсор. Поставьте курсор в поле для номера "
     L"карты и поднесите карту к считывателю; цифры появятся так, будто их набрали на клавиатуре.",
     {B::OK}},
    {L"Сохранить изменённые настройки?", {B::Yes, B::No, B::Cancel}},
    {L"Завершить работу программы?", {B::Yes, B::No}},
    {L"Сообщение без значка,\tс табуляцией.", {B::Abort, B::Retry, B::Ignore, B::Help}},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const int kind = _wtoi(argv[1]);
  if (kind < 0 || kind > 5) return 2;
  const DWORD ms = static_cast<DWORD>(_wtoi(argv[2]));
  std::thread closer([ms] {
    Sleep(ms);
    if (const HWND dialog = FindWindowW(kMessageFormClass, nullptr))
      PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  Application.Initialize();
  ShowMessageDialog(kSamples[kind].Text, static_cast<MessageKind>(kind), kSamples[kind].Buttons, 0);
  closer.join();
  return 0;
}
