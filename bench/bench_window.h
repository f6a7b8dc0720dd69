#pragma once
// A started main window nobody looks at, over the scripted desktop, for the
// benchmarks that drive the window's commands.

#include <memory>
#include <string>

#include "platform/linux_platform.h"
#include "session/catalog_session.h"
#include "support/scripted_ui.h"
#include "windows/main/frm_main.h"
#include "windows/main/main_command_table.h"

namespace tallymere::bench {

struct BenchWindow {
  explicit BenchWindow(const std::string& program_folder)
      : platform(program_folder),
        session(platform),
        services(ui),
        main(std::make_unique<FrmMain>(session, services)) {
    main->Form_Load();
  }
  // Opens a data file as the user does; the last run's changes are dropped,
  // as "No" to "Save current file?".
  void Open(const std::string& path) {
    if (main->session().changed()) ui.AnswerMessage(Answer::kNo);
    ui.AnswerOpenFile(path);
    main->Run(MainCommand::kLoad);
  }
  bool NoMessages() const { return ui.Messages().empty(); }

  testing::ScriptedUi ui;
  LinuxPlatform platform;
  CatalogSession session;
  WindowServices services;
  std::unique_ptr<FrmMain> main;
};

}  // namespace tallymere::bench
