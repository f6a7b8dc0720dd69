// The main window's commands that send files to the two editors of the side
// panel, and the tab control that shows them.

#include "windows/main/frm_main.h"

namespace tallymere {

void FrmMain::mnuAddPlay_Click() { SendToPlaylist(m_LV); }

void FrmMain::SendToPlaylist(ListModel& rows) {
  if (!m_playlist.AddFromFileList(rows)) return;
  // Songs may come from another catalog than an open one of other files.
  m_view.tab_enabled[kPlaylistTab] = true;
  m_view.playlist_visible = true;
  SelectTab(kPlaylistTab);
  m_playlist.SetFocus();
}

void FrmMain::mnuSendData_Click() {
  if (!m_data_editor.FillFromFileList()) return;
  SelectTab(kDataEditorTab);
  m_ui.SetStatus(kCountPanel,
                 "Total: " + std::to_string(m_data_editor.LVData().row_count()) + " file(s)");
}

void FrmMain::SSTab1_Click(int tab) {
  if (tab < 0 || tab >= static_cast<int>(m_view.tab_enabled.size()) || !m_view.tab_enabled[tab]) {
    return;
  }
  SelectTab(tab);
}

void FrmMain::SelectTab(int tab) {
  // Choosing the tab that is shown changes nothing, as with a tab control.
  if (tab == m_view.selected_tab) return;
  const int previous = m_view.selected_tab;
  m_view.selected_tab = tab;
  if (previous == kDataEditorTab) m_commands.SetToolbarEnabled(true);
  if (tab == kDataEditorTab) {
    // The toolbar's commands act on the file list, which LVData now hides.
    m_commands.SetToolbarEnabled(false);
    m_data_editor.EnterTab();
  }
}

}  // namespace tallymere
