// What the user waits for with a full catalog, end to end: File > Open with
// the tree it builds and the file list of the first album folder, File > Save
// to a named file, a click on a folder, the command line's info and dump run
// as programs of their own, and File > Open as the first thing a newly started
// program does. The catalog (bench/full_catalog.h) is written once into a
// temporary folder with the program folder and drive map the main window
// needs. Each must stay under 50 ms. Find in All and the three duplicate
// commands with the rows they list, and the command line's find and dupes,
// are measured here too.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_window.h"
#include "catalog/data_file.h"
#include "full_catalog.h"
#include "platform/heap_reuse.h"
#include "platform/linux_platform.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "windows/main/frm_main.h"
#include "windows/main/main_command_table.h"

extern char** environ;

namespace tallymere {
namespace {

// The temporary machine: C: fixed, E: a CD-ROM drive, F: a removable one, and
// the full catalog twice, as a named data file and as the program folder's
// Untitled.mpd (an untitled catalog, as a scan leaves one).
class Machine {
 public:
  Machine() {
    for (const char* drive : {"c", "e", "f"}) m_folder.MakeFolder(drive);
    const std::string root = m_folder.path();
    m_folder.WriteFile("program/Data/drives.dat", "C: fixed " + root + "/c\nE: cdrom " + root +
                                                      "/e MUSIC99\nF: removable " + root + "/f\n");
    const CatalogTable table = bench::FullCatalog();
    const LinuxPlatform platform(program_folder());
    m_ready = SaveDataFile(platform, table, data_file()).ok() &&
              SaveDataFile(platform, table, untitled_file()).ok();
    for (int i = 1; i < table.CatalogEnd(); ++i) {
      if (table.Record(i).disk_label == "C:\\") {
        m_first_album_key = FolderKey(table.Record(i));
        break;
      }
    }
    for (int i = 1; i < table.CatalogEnd(); ++i) {
      if (table.Record(i).path == m_first_album_key) ++m_first_album_files;
    }
    m_labelled_folder_key = FolderKey(table.Record(1));
  }

  bool ready() const { return m_ready; }
  std::string program_folder() const { return m_folder.Path("program"); }
  std::string data_file() const { return m_folder.Path("full.mpd"); }
  std::string untitled_file() const { return program_folder() + "/Untitled.mpd"; }
  std::string Path(std::string_view name) const { return m_folder.Path(name); }
  // The first album folder of the fixed drive, and how many files it lists.
  const std::string& first_album_key() const { return m_first_album_key; }
  int first_album_files() const { return m_first_album_files; }
  // A folder of the disk added last, as its tree node's key.
  const std::string& labelled_folder_key() const { return m_labelled_folder_key; }

 private:
  testing::TempFolder m_folder;
  bool m_ready = false;
  std::string m_first_album_key;
  int m_first_album_files = 0;
  std::string m_labelled_folder_key;
};

const Machine& TheMachine() {
  static const Machine machine;
  return machine;
}

// A started main window on the machine.
struct Window : bench::BenchWindow {
  Window() : BenchWindow(TheMachine().program_folder()) {}
};

bool CatalogIsFull(const FrmMain& main) {
  return main.session().catalog().FileCount() == bench::kFullCatalogFiles;
}

void BM_OpenCommand(benchmark::State& state) {
  if (!TheMachine().ready()) return state.SkipWithError("cannot write the catalog");
  Window window;
  for (auto _ : state) {
    window.Open(TheMachine().data_file());
    window.main->tvAlbum_NodeClick(window.main->tvAlbum().Find(TheMachine().first_album_key()));
  }
  if (!CatalogIsFull(*window.main) || !window.NoMessages() ||
      window.main->LV().row_count() != TheMachine().first_album_files()) {
    return state.SkipWithError("the catalog was not opened and listed as expected");
  }
  state.counters["tree_nodes"] = window.main->tvAlbum().count();
  state.counters["listed"] = window.main->LV().row_count();
}
BENCHMARK(BM_OpenCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

// Listing one folder once the catalog is open: a folder of the fixed drive,
// and one of a labelled disk, whose records are matched by label and path.
void NodeClick(benchmark::State& state, const std::string& key) {
  if (!TheMachine().ready()) return state.SkipWithError("cannot write the catalog");
  Window window;
  window.Open(TheMachine().data_file());
  const int node = window.main->tvAlbum().Find(key);
  if (node == TreeModel::kNoNode) return state.SkipWithError("no such node");
  for (auto _ : state) window.main->tvAlbum_NodeClick(node);
  if (window.main->LV().row_count() == 0 || !window.NoMessages()) {
    return state.SkipWithError("the folder listed nothing");
  }
  state.counters["listed"] = window.main->LV().row_count();
}

void BM_NodeClickFixedDriveFolder(benchmark::State& state) {
  NodeClick(state, TheMachine().first_album_key());
}
BENCHMARK(BM_NodeClickFixedDriveFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NodeClickLabelledDiskFolder(benchmark::State& state) {
  NodeClick(state, TheMachine().labelled_folder_key());
}
BENCHMARK(BM_NodeClickLabelledDiskFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

// Save of an untitled full catalog: the file dialog names a file that exists,
// and the user agrees to replace it.
void BM_SaveCommand(benchmark::State& state) {
  if (!TheMachine().ready()) return state.SkipWithError("cannot write the catalog");
  const std::string target = TheMachine().Path("saved.mpd");
  std::filesystem::copy_file(TheMachine().data_file(), target,
                             std::filesystem::copy_options::overwrite_existing);
  Window window;
  for (auto _ : state) {
    state.PauseTiming();
    window.Open(TheMachine().untitled_file());
    state.ResumeTiming();
    window.ui.AnswerSaveFile(target).AnswerMessage(Answer::kYes);
    window.main->Run(MainCommand::kSaveFile);
  }
  const std::vector<testing::UiCall> messages = window.ui.Messages();
  const bool asked_to_replace =
      !messages.empty() && messages.back().text.find("replace") != std::string::npos;
  if (!CatalogIsFull(*window.main) || window.main->session().data_file_path() != target ||
      window.main->session().changed() || !asked_to_replace ||
      std::filesystem::file_size(target) != std::filesystem::file_size(TheMachine().data_file())) {
    return state.SkipWithError("the catalog was not saved as expected");
  }
}
BENCHMARK(BM_SaveCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

// Find in All as the user runs it on an open catalog: the walk, the rows in
// the file list sorted by File name, and the status bar.
void FindInAll(benchmark::State& state, const std::string& text) {
  if (!TheMachine().ready()) return state.SkipWithError("cannot write the catalog");
  Window window;
  window.Open(TheMachine().data_file());
  window.main->find_panel().set_txtFind(text);
  window.main->find_panel().set_cmbType("*.*");
  for (auto _ : state) window.main->Run(MainCommand::kCmdAll);
  if (window.main->LV().row_count() == 0 || !window.NoMessages()) {
    return state.SkipWithError("Find in All listed nothing");
  }
  state.counters["listed"] = window.main->LV().row_count();
}

void BM_FindInAllCommandText(benchmark::State& state) { FindInAll(state, "heart"); }
BENCHMARK(BM_FindInAllCommandText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindInAllCommandEveryFile(benchmark::State& state) { FindInAll(state, ""); }
BENCHMARK(BM_FindInAllCommandEveryFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// A duplicate command on an open catalog: the walk and the rows it lists,
// three for each of the (at most 100,000) sets.
void DuplicateCommand(benchmark::State& state, MainCommand command) {
  if (!TheMachine().ready()) return state.SkipWithError("cannot write the catalog");
  Window window;
  window.Open(TheMachine().data_file());
  for (auto _ : state) window.main->Run(command);
  if (window.main->LV().row_count() == 0 || !window.NoMessages()) {
    return state.SkipWithError("the command listed no set");
  }
  state.counters["rows"] = window.main->LV().row_count();
}

void BM_DuplicatesExactCommand(benchmark::State& state) {
  DuplicateCommand(state, MainCommand::kDuplicate1);
}
BENCHMARK(BM_DuplicatesExactCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DuplicatesNotSoExactCommand(benchmark::State& state) {
  DuplicateCommand(state, MainCommand::kDuplicate2);
}
BENCHMARK(BM_DuplicatesNotSoExactCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DuplicatesAnyPossibleCommand(benchmark::State& state) {
  DuplicateCommand(state, MainCommand::kDuplicate3);
}
BENCHMARK(BM_DuplicatesAnyPossibleCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

// Runs a program with its output and its messages thrown away; true when it
// exits with 0.
bool Run(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void RunEachIteration(benchmark::State& state, const std::vector<std::string>& args) {
  if (!TheMachine().ready()) return state.SkipWithError("cannot write the catalog");
  for (auto _ : state) {
    if (!Run(args)) return state.SkipWithError(("failed: " + args[0] + " " + args[1]).c_str());
  }
}

// Reading the file and nothing else, for scale.
void BM_CatFile(benchmark::State& state) {
  RunEachIteration(state, {"cat", TheMachine().data_file()});
}
BENCHMARK(BM_CatFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliInfo(benchmark::State& state) {
  RunEachIteration(state, {TALLYMERE_CLI_PATH, "info", TheMachine().data_file()});
}
BENCHMARK(BM_CliInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDump(benchmark::State& state) {
  RunEachIteration(state, {TALLYMERE_CLI_PATH, "dump", TheMachine().data_file()});
}
BENCHMARK(BM_CliDump)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDumpJson(benchmark::State& state) {
  RunEachIteration(state, {TALLYMERE_CLI_PATH, "dump", "--json", TheMachine().data_file()});
}
BENCHMARK(BM_CliDumpJson)->Unit(benchmark::kMillisecond)->UseRealTime();

// find and dupes print what the window lists; for find the rows are sorted
// by File name, for dupes each set's rows are printed (100,000 sets of this
// catalog under every rule, some 300,000 lines).
void BM_CliFindText(benchmark::State& state) {
  RunEachIteration(state,
                   {TALLYMERE_CLI_PATH, "find", "--text", "heart", TheMachine().data_file()});
}
BENCHMARK(BM_CliFindText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliFindEveryFile(benchmark::State& state) {
  RunEachIteration(state, {TALLYMERE_CLI_PATH, "find", TheMachine().data_file()});
}
BENCHMARK(BM_CliFindEveryFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliFindEveryFileJson(benchmark::State& state) {
  RunEachIteration(state, {TALLYMERE_CLI_PATH, "find", "--json", TheMachine().data_file()});
}
BENCHMARK(BM_CliFindEveryFileJson)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliFindUnderLabelledDisk(benchmark::State& state) {
  RunEachIteration(state, {TALLYMERE_CLI_PATH, "find", "--under",
                           TheMachine().labelled_folder_key(), TheMachine().data_file()});
}
BENCHMARK(BM_CliFindUnderLabelledDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDupesExact(benchmark::State& state) {
  RunEachIteration(state, {TALLYMERE_CLI_PATH, "dupes", "--exact", TheMachine().data_file()});
}
BENCHMARK(BM_CliDupesExact)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDupesNotSoExact(benchmark::State& state) {
  RunEachIteration(state, {TALLYMERE_CLI_PATH, "dupes", "--near", TheMachine().data_file()});
}
BENCHMARK(BM_CliDupesNotSoExact)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDupesAnyPossible(benchmark::State& state) {
  RunEachIteration(state, {TALLYMERE_CLI_PATH, "dupes", "--any", TheMachine().data_file()});
}
BENCHMARK(BM_CliDupesAnyPossible)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDupesAnyPossibleJson(benchmark::State& state) {
  RunEachIteration(state,
                   {TALLYMERE_CLI_PATH, "dupes", "--any", "--json", TheMachine().data_file()});
}
BENCHMARK(BM_CliDupesAnyPossibleJson)->Unit(benchmark::kMillisecond)->UseRealTime();

// A newly started program, as the desktop program starts: its window loaded
// and, with a data file, that file opened and the first album folder listed.
// Run in a process of its own by the benchmarks below, so every catalog it
// opens is its first; exits with 0 when all went as expected.
int StartProgram(const std::string& program_folder, const std::string& data_file,
                 const std::string& folder_key) {
  LinuxPlatform platform(program_folder);
  testing::ScriptedUi ui;
  CatalogSession session(platform);
  WindowServices services(ui);
  FrmMain main(session, services);
  main.Form_Load();
  if (!data_file.empty()) {
    ui.AnswerOpenFile(data_file);
    main.Run(MainCommand::kLoad);
    main.tvAlbum_NodeClick(main.tvAlbum().Find(folder_key));
    if (!CatalogIsFull(main) || main.LV().row_count() == 0) return 1;
  }
  return ui.Messages().empty() ? 0 : 1;
}

constexpr std::string_view kStartProgram = "--start-program";

std::string ThisProgram() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

// Start-up alone, to tell it from the opening below.
void BM_StartNewProgram(benchmark::State& state) {
  RunEachIteration(state,
                   {ThisProgram(), std::string(kStartProgram), TheMachine().program_folder()});
}
BENCHMARK(BM_StartNewProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

// File > Open as the first thing after start-up, start-up included: the
// program's memory is all fresh then.
void BM_OpenCommandInANewProgram(benchmark::State& state) {
  RunEachIteration(state, {ThisProgram(), std::string(kStartProgram), TheMachine().program_folder(),
                           TheMachine().data_file(), TheMachine().first_album_key()});
}
BENCHMARK(BM_OpenCommandInANewProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tallymere

int main(int argc, char** argv) {
  // As the desktop program does before its first catalog.
  tallymere::KeepFreedMemoryForReuse();
  if (argc >= 3 && argv[1] == tallymere::kStartProgram) {
    return tallymere::StartProgram(argv[2], argc >= 5 ? argv[3] : "", argc >= 5 ? argv[4] : "");
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
