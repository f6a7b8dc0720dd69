#pragma once
// A started main window over a temporary machine: C: and D: are fixed drives,
// E: a CD-ROM drive with the volume label MUSIC99, F: a removable drive, each
// a folder of the temporary folder mapped through Data/drives.dat. The window
// reaches the machine through faults(), so a test can make chosen calls fail.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/linux_platform.h"
#include "support/faulty_platform.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "windows/main/frm_main.h"
#include "windows/main/main_command_table.h"

namespace tallymere::testing {

inline constexpr std::time_t kFixedNow = 946684800;  // 2000-01-01 00:00:00 UTC

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    for (const char* drive : {"c", "d", "e", "f"}) m_folder.MakeFolder(drive);
    WriteDrives(
        "C: fixed %ROOT%/c\nD: fixed %ROOT%/d\nE: cdrom %ROOT%/e MUSIC99\n"
        "F: removable %ROOT%/f\n");
  }

  // Replaces Data/drives.dat and starts a new platform and main window on it.
  void WriteDrives(std::string lines) {
    for (std::size_t pos; (pos = lines.find("%ROOT%")) != std::string::npos;) {
      lines.replace(pos, 6, m_folder.path());
    }
    m_folder.WriteFile("program/Data/drives.dat", lines);
    m_main.reset();
    m_services.reset();
    m_session.reset();
    m_faults.reset();
    m_platform =
        std::make_unique<LinuxPlatform>(m_folder.Path("program"), [] { return kFixedNow; });
    m_platform->SetConfigFolder(m_folder.Path("config"));
    m_faults = std::make_unique<FaultyPlatform>(*m_platform);
    Restart();
  }

  // A new start of the program on the same machine: session and window anew.
  void Restart() {
    m_main.reset();
    m_services.reset();
    m_session = std::make_unique<CatalogSession>(*m_faults);
    m_services = std::make_unique<WindowServices>(m_ui, m_session.get());
    m_main = std::make_unique<FrmMain>(*m_session, *m_services);
    m_main->Form_Load();
  }

  // A file below a drive's folder: File("c", "Music/a.mp3", bytes).
  std::string File(const std::string& drive, const std::string& relative,
                   const std::string& bytes = "data") {
    return m_folder.WriteFile(drive + "/" + relative, bytes);
  }

  // The texts of the tree's live nodes in order, "text" for each.
  std::vector<std::string> NodeTexts() const {
    std::vector<std::string> texts;
    for (int node : m_main->tvAlbum().Nodes()) texts.push_back(m_main->tvAlbum().node(node).text);
    return texts;
  }
  std::vector<std::string> NodeKeys() const {
    std::vector<std::string> keys;
    for (int node : m_main->tvAlbum().Nodes()) keys.push_back(m_main->tvAlbum().node(node).key);
    return keys;
  }
  int Node(const std::string& key) const { return m_main->tvAlbum().Find(key); }

  // File names of the file list's rows, in row order.
  std::vector<std::string> ListNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < m_main->LV().row_count(); ++row)
      names.push_back(m_main->LV().row(row).text);
    return names;
  }

  // Batch entry, then scan, answering nothing else.
  void ScanFolder(const std::string& catalog_folder) {
    m_ui.AnswerFolder(catalog_folder);
    m_main->Run(MainCommand::kCmdAdd);
    m_main->Run(MainCommand::kScan);
  }

  FrmMain& main() { return *m_main; }
  CatalogSession& session() { return *m_session; }
  WindowServices& services() { return *m_services; }
  ScriptedUi& ui() { return m_ui; }
  LinuxPlatform& platform() { return *m_platform; }
  FaultyPlatform& faults() { return *m_faults; }
  const TempFolder& folder() const { return m_folder; }

  TempFolder m_folder;
  ScriptedUi m_ui;
  std::unique_ptr<LinuxPlatform> m_platform;
  std::unique_ptr<FaultyPlatform> m_faults;
  std::unique_ptr<CatalogSession> m_session;
  std::unique_ptr<WindowServices> m_services;
  std::unique_ptr<FrmMain> m_main;
};

}  // namespace tallymere::testing
