#include "ui/message_box.h"

#include "ui/win_handles.h"

namespace zemlo::ui {

namespace {

int trackPopupMenu(HWND owner, POINT at, const std::vector<std::wstring>& items) {
  const MenuHandle menu(CreatePopupMenu());
  for (std::size_t i = 0; i < items.size(); ++i)
    AppendMenuW(menu.get(), MF_STRING, i + 1, items[i].c_str());
  return static_cast<int>(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                           owner, nullptr)) -
         1;
}

MessageBoxFunction current = &MessageBoxW;
PopupMenuFunction currentMenu = &trackPopupMenu;

}  // namespace

int messageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return current(owner, text, caption, type);
}

MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function) {
  const MessageBoxFunction previous = current;
  current = function;
  return previous;
}

int popupMenu(HWND owner, POINT at, const std::vector<std::wstring>& items) {
  return currentMenu(owner, at, items);
}

PopupMenuFunction setPopupMenuFunction(PopupMenuFunction function) {
  const PopupMenuFunction previous = currentMenu;
  currentMenu = function;
  return previous;
}

}  // namespace zemlo::ui
