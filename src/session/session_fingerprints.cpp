// Fingerprints filled in for a catalog made without them: the audio files of
// the disks that are mounted now are read, each once.

#include "catalog/file_type.h"
#include "mp3/audio_fingerprint.h"
#include "session/catalog_session.h"

namespace tallymere {

int CatalogSession::FilesWithoutFingerprint() const {
  int count = 0;
  m_catalog.Walk([&](int, const CatalogRecord& record) {
    count +=
        !record.extras.has_fingerprint() && HasAudioFingerprint(LowerExtension(record.file_name))
            ? 1
            : 0;
  });
  return count;
}

FingerprintSummary CatalogSession::ComputeFingerprints(
    const std::function<void(int done, int total)>& progress) {
  FingerprintSummary summary;
  const int total = FilesWithoutFingerprint();
  const int end = m_catalog.CatalogEnd();
  int done = 0;
  for (int i = 1; i < end; ++i) {
    CatalogRecord& record = m_catalog.MutableRecord(i);
    const std::string extension = LowerExtension(record.file_name);
    if (record.extras.has_fingerprint() || !HasAudioFingerprint(extension)) continue;
    if (progress) progress(done, total);
    ++done;
    // A file of the same name and size is taken for the catalogued one: a
    // disk of another label in the drive holds other files.
    const std::optional<std::string> native = m_platform.ToNative(record.path + record.file_name);
    Result<std::unique_ptr<RandomAccessFile>> file =
        native ? m_platform.OpenFile(*native, OpenMode::kRead)
               : Result<std::unique_ptr<RandomAccessFile>>(Status::Error("no drive"));
    Result<int64_t> length = file ? (*file)->Length() : Result<int64_t>(file.status());
    if (!length || *length != record.size) {
      ++summary.unreachable;
      continue;
    }
    const Result<AudioHash> hash = AudioFingerprint(**file, *length, extension);
    if (!hash) {
      ++summary.unreachable;
    } else if (hash->audio_bytes > 0) {
      record.extras = {hash->hash, hash->audio_bytes};
      ++summary.computed;
    } else {
      ++summary.without_audio;
    }
  }
  if (progress) progress(done, total);
  if (summary.computed > 0) m_changed = true;
  return summary;
}

std::string FingerprintSummaryText(const FingerprintSummary& summary) {
  std::string text = std::to_string(summary.computed) + " audio fingerprints computed";
  if (summary.unreachable > 0) {
    text += "; " + std::to_string(summary.unreachable) +
            " files could not be reached (their disk is not in the drive, or they changed)";
  }
  if (summary.without_audio > 0) {
    text +=
        "; " + std::to_string(summary.without_audio) + " files hold no audio that can be hashed";
  }
  return text + ".";
}

}  // namespace tallymere
