#include "ui/message_box.h"

namespace zemlo::ui {

namespace {
MessageBoxFunction current = &MessageBoxW;
}

int messageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return current(owner, text, caption, type);
}

MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function) {
  const MessageBoxFunction previous = current;
  current = function;
  return previous;
}

}  // namespace zemlo::ui
