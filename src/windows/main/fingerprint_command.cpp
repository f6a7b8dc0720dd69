// Tools > Compute Audio Fingerprints: the fingerprints a catalog made
// without them lacks, from the files of the disks mounted now.

#include "windows/main/frm_main.h"

namespace tallymere {

void FrmMain::mnuFingerprint_Click() {
  const int files = m_session.FilesWithoutFingerprint();
  if (files == 0) {
    m_ui.ShowMessage("Every MP3, FLAC and MP4 file of the catalog has its audio fingerprint.",
                     Buttons::kOk, Icon::kInformation, kProgramTitle);
    return;
  }
  const std::string question =
      std::to_string(files) +
      " audio files of the catalog have no fingerprint. Compute them now? Each file on a disk "
      "that is in its drive is read once; the others are counted and keep none.";
  if (m_ui.ShowMessage(question, Buttons::kOkCancel, Icon::kQuestion, kProgramTitle) !=
      Answer::kOk) {
    return;
  }
  FingerprintSummary summary;
  {
    BusyScope busy(m_ui);
    summary = m_session.ComputeFingerprints([&](int done, int total) {
      // A status every few files keeps the window answering without
      // slowing the reads.
      if (done % 25 != 0 && done != total) return;
      m_ui.SetStatus(kStatusPanel, "Computing audio fingerprints ... " + std::to_string(done) +
                                       " of " + std::to_string(total));
      m_ui.YieldToUi();
    });
  }
  m_ui.SetStatus(kStatusPanel, " Ready");
  m_ui.ShowMessage(FingerprintSummaryText(summary), Buttons::kOk, Icon::kInformation,
                   kProgramTitle);
}

}  // namespace tallymere
