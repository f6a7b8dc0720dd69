#include "windows/main/recycle_conversation.h"

namespace tallymere {
namespace {

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

enum class DeleteOutcome { kDeleted, kKept, kStopAll, kFailed };

// Asks whether to delete a file that no trash can take, and does it.
DeleteOutcome OfferPermanentDelete(UiServices& ui, const Platform& platform,
                                   const std::string& path, const std::string& reason) {
  const Answer answer = ui.ShowMessage(
      reason + "\n\nDelete \"" + NameOf(path) + "\" permanently instead? It cannot be recovered.",
      Buttons::kYesNoCancel, Icon::kWarning, kTrashTitle);
  if (answer == Answer::kCancel) return DeleteOutcome::kStopAll;
  if (answer != Answer::kYes) return DeleteOutcome::kKept;
  const Status deleted = platform.DeletePermanently(path);
  if (deleted) return DeleteOutcome::kDeleted;
  ui.ShowMessage(deleted.message(), Buttons::kOk, Icon::kStop, kTrashTitle);
  return DeleteOutcome::kFailed;
}

}  // namespace

RecycleOutcome RecycleWithConfirmation(UiServices& ui, const Platform& platform,
                                       const std::vector<std::string>& paths) {
  if (paths.empty()) return RecycleOutcome::kAllMoved;
  std::vector<std::string> natives;
  for (const std::string& path : paths) natives.push_back(platform.NativeOf(path));
  const std::string question =
      natives.size() == 1
          ? "Are you sure you want to move \"" + NameOf(natives[0]) + "\" to the trash?"
          : "Are you sure you want to move these " + std::to_string(natives.size()) +
                " files to the trash?";
  if (ui.ShowMessage(question, Buttons::kYesNo, Icon::kQuestion, kTrashTitle) != Answer::kYes) {
    return RecycleOutcome::kKept;
  }
  // Stops at the first file that fails, after saying why.
  RecycleOutcome outcome = RecycleOutcome::kAllMoved;
  for (const std::string& path : natives) {
    const Status moved = platform.MoveToTrash(path);
    if (moved) continue;
    if (moved.code() != StatusCode::kUnsupported) {
      ui.ShowMessage(moved.message(), Buttons::kOk, Icon::kStop, kTrashTitle);
      return RecycleOutcome::kFailed;
    }
    switch (OfferPermanentDelete(ui, platform, path, moved.message())) {
      case DeleteOutcome::kDeleted:
        break;
      case DeleteOutcome::kKept:
        outcome = RecycleOutcome::kKept;
        break;
      case DeleteOutcome::kStopAll:
        return RecycleOutcome::kKept;
      case DeleteOutcome::kFailed:
        return RecycleOutcome::kFailed;
    }
  }
  return outcome;
}

}  // namespace tallymere
