// The real desktop: MessageBoxA, ExitProcess and the shell's "open" verb.
#include "app/win/desktop.h"

#include "app/model/messages.h"
#include "app/win/system_functions.h"

namespace velbrook::app {

void Win32Desktop::ShowMessage(HWND owner, const std::string& text, UINT style) {
  MessageBoxA(owner, text.c_str(), kCaption, MB_OK | style);
}

void Win32Desktop::EndProcess(int exit_code) { ExitProcess(static_cast<UINT>(exit_code)); }

void Win32Desktop::OpenDocument(const std::string& path) {
  if (functions_ == nullptr || functions_->shell_execute == nullptr) return;
  functions_->shell_execute(nullptr, "open", path.c_str(), "", "", SW_SHOW);
}

}  // namespace velbrook::app
