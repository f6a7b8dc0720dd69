// Create List and Create List from Search Result: the catalog or the file
// list written as a text list, an HTML page or an M3U playlist, then offered
// for opening.

#include "lists/create_list.h"
#include "lists/gshell.h"
#include "lists/list_entries.h"
#include "windows/main/frm_main.h"

namespace tallymere {

void FrmMain::mnuCreat_Click() { CreateList(/*from_search_result=*/false); }

void FrmMain::mnuReport_Click() { CreateList(/*from_search_result=*/true); }

void FrmMain::CreateList(bool from_search_result) {
  // A playlist needs one sorted list of bare paths: the options that say so
  // stay set in memory for later lists.
  if (m_session.settings().chkM3U == 1) ForceM3uOptions(&m_session.settings());
  const std::optional<std::string> chosen = m_ui.ChooseSaveFile("Save List As", "*.*", "untitled");
  if (!chosen) return;
  const ListRequest request{m_platform,
                            m_session.settings(),
                            ListFileName(*chosen),
                            m_platform.Now(),
                            {},
                            {},
                            m_session.program_settings().show_disk_labels};

  Result<std::string> written = std::string();
  {
    BusyScope busy(m_ui);
    // Each folder's rows must stand together to be listed under it.
    if (from_search_result) SortByPath(m_LV);
    m_ui.SetStatus(kStatusPanel, kWritingListStatus);
    m_ui.YieldToUi();
    written = from_search_result ? WriteList(request, FileListEntries(m_LV))
                                 : WriteList(request, m_session.catalog());
    m_ui.SetStatus(kStatusPanel, "Ready");
  }
  if (!written.ok()) {
    m_ui.ShowMessage(written.status().message(), Buttons::kOk, Icon::kStop, kProgramTitle);
    return;
  }
  if (m_ui.ShowMessage(OfferToOpenText(m_session.settings(), *written), Buttons::kYesNo,
                       Icon::kQuestion, kProgramTitle) == Answer::kYes) {
    GShell(m_ui, *written, kShowDefault, "", "", "open");
  }
}

}  // namespace tallymere
