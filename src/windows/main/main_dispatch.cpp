// The main window's dispatcher: each command runs the handler of its row in
// the command table, and nothing runs while a long command yields to the
// window.

#include "windows/main/frm_main.h"
#include "windows/main/main_command_table.h"

namespace tallymere {

void FrmMain::Handle(const std::function<void()>& handler) {
  // A command that yields lets the window repaint; what the user does then
  // would act on a catalog being rebuilt, so it is refused.
  if (busy()) return;
  handler();
}

void FrmMain::Run(MainCommand command) {
  m_last_handler = {};
  Handle([this, command] {
    const CommandHandler<FrmMain>& handler = EntryOf(kCommands, command).handler;
    m_last_handler = handler.runs;
    handler.run(*this);
  });
}

void FrmMain::mnuExit_Click() {
  if (close_window) close_window();
}

void FrmMain::mnuAbout_Click() {
  if (show_about) show_about();
}

}  // namespace tallymere
