// The header and footer texts of lists, the help page and the address for
// updates, each opened with its program; and the Options dialog.

#include "lists/gshell.h"
#include "windows/main/frm_main.h"
#include "windows/main/update_address.h"

namespace tallymere {
namespace {

// kUpdateAddress is set when the program is built; an address without a
// scheme names a page in the program folder (by default the help page's
// section on updates).
bool HasScheme(std::string_view address) {
  const std::size_t colon = address.find(':');
  return colon != std::string_view::npos && colon > 1 && address.find_first_of("/#") > colon;
}

bool ProgramFileExists(const Platform& platform, const std::string& native_path) {
  return platform.OpenFile(native_path, OpenMode::kRead).ok();
}

}  // namespace

void FrmMain::OpenProgramFile(std::string_view name, std::string_view missing_text,
                              std::string_view title, std::string_view verb,
                              const std::function<void(const std::string&)>& instead_of_error) {
  const std::string path = m_platform.ProgramFolder() + "/" + std::string(name);
  if (!ProgramFileExists(m_platform, path)) {
    m_ui.ShowMessage(missing_text, Buttons::kOk, Icon::kStop, title);
    return;
  }
  // Said here: the desktop shows nothing of its own when it has no program.
  ShellError error;
  if (GShell(m_ui, path, kShowDefault, "", "", verb, &error)) return;
  if (instead_of_error) {
    instead_of_error(path);
    return;
  }
  m_ui.ShowMessage(error.description, Buttons::kOk, Icon::kStop, title);
}

std::string FrmMain::HelpPagePath() const { return m_platform.ProgramFolder() + "/TMRHelp.html"; }

bool FrmMain::OpenerFailed(const std::string& native_path) {
  // A machine without a browser still has a manual: the program shows it.
  if (native_path != HelpPagePath() || !show_help_viewer) return false;
  show_help_viewer(native_path);
  return true;
}

// The texts open as text files, by their name: empty ones (as start-up makes
// them) tell the desktop nothing by their content.
void FrmMain::mnuEditHeader_Click() {
  OpenProgramFile("Header.txt", "File not found.", "Edit Header Text", "edit");
}

void FrmMain::mnuEditFooter_Click() {
  OpenProgramFile("Footer.txt", "File not found.", "Edit Footer Text", "edit");
}

void FrmMain::mnuHelpTopic_Click() {
  OpenProgramFile("TMRHelp.html", "TMRHelp.html not found.", "Tallymere Help", "open",
                  show_help_viewer);
}

void FrmMain::mnuLink_Click() {
  const std::string address = HasScheme(kUpdateAddress) ? std::string(kUpdateAddress)
                                                        : "file://" + m_platform.ProgramFolder() +
                                                              "/" + std::string(kUpdateAddress);
  GShell(m_ui, address, kShowDefault, "", "", "open");
}

void FrmMain::mnuOpt_Click() {
  if (show_options) show_options();
}

}  // namespace tallymere
