// The MP3 Utilities window's dispatcher: each command runs the handler of its
// row in the command table, and nothing runs while a long command of either
// window yields.

#include "windows/mp3_utilities/frm_id3.h"
#include "windows/mp3_utilities/frm_id3_command_table.h"

namespace tallymere {

void FrmID3::Handle(const std::function<void()>& handler) {
  // What the user does while a command yields would act on a batch or a
  // catalog being changed, so it is refused.
  if (busy()) return;
  handler();
}

void FrmID3::Run(Id3Command command) {
  m_last_handler = {};
  Handle([this, command] {
    const CommandHandler<FrmID3>& handler = EntryOf(kCommands, command).handler;
    m_last_handler = handler.runs;
    handler.run(*this);
  });
}

void FrmID3::Tbr_ButtonClick(int button) {
  if (const std::optional<Id3Command> command = CommandOfButton(kCommands, button)) {
    Run(*command);
  }
}

}  // namespace tallymere
