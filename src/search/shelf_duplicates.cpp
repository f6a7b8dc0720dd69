#include "search/shelf_duplicates.h"

#include <algorithm>
#include <functional>

#include "catalog/data_file.h"
#include "common/in_order.h"
#include "common/text_encoding.h"

namespace tallymere {
namespace {

struct NameHash {
  uint64_t high = 0;
  uint64_t low = 0;
  auto operator<=>(const NameHash&) const = default;
};

// Two independent 64-bit hashes of the compared part.
NameHash HashOf(std::string_view part) {
  constexpr uint64_t kFnvOffset = 14695981039346656037ull;
  constexpr uint64_t kFnvPrime = 1099511628211ull;
  uint64_t fnv = kFnvOffset;
  for (const char c : part) fnv = (fnv ^ static_cast<unsigned char>(c)) * kFnvPrime;
  return {std::hash<std::string_view>{}(part), fnv};
}

// Same audio compares the fingerprint itself; a record without one gets the
// empty hash, which takes part in no set.
NameHash AudioHashOf(const RecordExtras& extras) {
  if (!extras.has_fingerprint()) return {};
  return {extras.audio_hash, static_cast<uint64_t>(extras.audio_bytes)};
}

// A file record of the shelf: the hash of its compared name and its place
// in the walk.
struct Entry {
  NameHash hash;
  uint32_t walk = 0;
};

// What reading one data file gave in the first pass.
struct Hashed {
  std::vector<NameHash> hashes;  // of its file records, in record order
  Status status;
};

// Each data file's file records, read once per pass, on every thread.
template <typename Work, typename Take>
void EachCatalog(const std::vector<std::string>& data_files, const Work& work, const Take& take) {
  const int threads = ReadingThreads();
  RunInOrder(static_cast<int>(data_files.size()), threads, 2 * threads,
             {.prepare = [](int) {},
              .work = [&](int i) { work(i); },
              .take =
                  [&](int i) {
                    take(i);
                    return true;
                  }});
}

// Visits the records before the first one without a Path (the trailer).
Status VisitFileRecords(const Platform& platform, const std::string& path,
                        const std::function<void(int, const StoredRecord&)>& visit) {
  return VisitStoredFile(platform, path, [&](int number, const StoredRecord& record) {
    if (record.path.empty()) return false;
    visit(number, record);
    return true;
  });
}

// The first pass over the shelf: every file record's name hash in walk
// order, where each data file's records begin in the walk, and which data
// files could be read (the others are named in sets->problems).
struct Walk {
  std::vector<Entry> entries;
  std::vector<uint32_t> first_of;
  std::vector<char> sound;
};

Walk HashEveryName(const Platform& platform, const std::vector<std::string>& data_files,
                   DuplicateRule rule, ShelfDuplicateSets* sets) {
  Walk walk{
      {}, std::vector<uint32_t>(data_files.size(), 0), std::vector<char>(data_files.size(), 0)};
  std::vector<Hashed> hashed(data_files.size());
  EachCatalog(
      data_files,
      [&](int i) {
        Hashed& out = hashed[static_cast<std::size_t>(i)];
        thread_local std::string name;
        out.status = VisitFileRecords(platform, data_files[static_cast<std::size_t>(i)],
                                      [&](int, const StoredRecord& record) {
                                        if (rule == DuplicateRule::kSameAudio) {
                                          out.hashes.push_back(AudioHashOf(record.extras));
                                          return;
                                        }
                                        DecodeTextTo(record.file_name, &name);
                                        out.hashes.push_back(HashOf(ComparedPart(name, rule)));
                                      });
        // A damaged data file takes no part, as the search leaves it out.
        if (!RecordsWereRead(out.status)) out.hashes.clear();
      },
      [&](int i) {
        const auto c = static_cast<std::size_t>(i);
        Hashed& in = hashed[c];
        walk.sound[c] = RecordsWereRead(in.status);
        if (!in.status) sets->problems.push_back({i, in.status});
        walk.first_of[c] = static_cast<uint32_t>(walk.entries.size());
        for (const NameHash& hash : in.hashes) {
          walk.entries.push_back({hash, static_cast<uint32_t>(walk.entries.size())});
        }
        in = Hashed();
      });
  return walk;
}

// The pairs of records whose names compare equal, as the pairwise walk meets
// them (each record with every later member of its group), up to max_sets;
// *count gets how many pairs there are in all.
std::vector<std::pair<uint32_t, uint32_t>> EqualNamePairs(std::vector<Entry> entries,
                                                          std::size_t max_sets, int64_t* count) {
  // Equal names lie together, each group in walk order.
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.hash != b.hash ? a.hash < b.hash : a.walk < b.walk;
  });
  std::vector<uint32_t> place(entries.size());
  for (std::size_t at = 0; at < entries.size(); ++at) {
    place[entries[at].walk] = static_cast<uint32_t>(at);
  }
  for (std::size_t start = 0; start < entries.size();) {
    std::size_t end = start + 1;
    while (end < entries.size() && entries[end].hash == entries[start].hash) ++end;
    const auto size = static_cast<int64_t>(end - start);
    if (entries[start].hash != NameHash()) *count += size * (size - 1) / 2;
    start = end;
  }
  std::vector<std::pair<uint32_t, uint32_t>> pairs;
  for (std::size_t walk = 0; walk < entries.size() && pairs.size() < max_sets; ++walk) {
    if (entries[place[walk]].hash == NameHash()) continue;
    for (std::size_t at = place[walk] + 1;
         at < entries.size() && entries[at].hash == entries[place[walk]].hash &&
         pairs.size() < max_sets;
         ++at) {
      pairs.emplace_back(static_cast<uint32_t>(walk), entries[at].walk);
    }
  }
  return pairs;
}

// The second pass: the rows of the records the pairs name, read again from
// their data files, and the pairs as indices into those rows. A record of a
// file that changed between the passes has no row, and its pairs are left out.
void ListPairs(const Platform& platform, const std::vector<std::string>& data_files,
               const Walk& walk, const std::vector<std::pair<uint32_t, uint32_t>>& walk_pairs,
               ShelfDuplicateSets* sets) {
  std::vector<uint32_t> wanted;
  for (const auto& [a, b] : walk_pairs) wanted.insert(wanted.end(), {a, b});
  std::sort(wanted.begin(), wanted.end());
  wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
  const auto wanted_index = [&wanted](uint32_t walk_at) {
    return static_cast<std::size_t>(std::lower_bound(wanted.begin(), wanted.end(), walk_at) -
                                    wanted.begin());
  };
  std::vector<std::vector<std::pair<uint32_t, ShelfRow>>> found(data_files.size());
  EachCatalog(
      data_files,
      [&](int i) {
        const auto c = static_cast<std::size_t>(i);
        const uint32_t first = walk.first_of[c];
        auto next = std::lower_bound(wanted.begin(), wanted.end(), first);
        if (!walk.sound[c] || next == wanted.end()) return;
        // Read again, the file gives the same records, unless it changed meanwhile.
        (void)VisitFileRecords(platform, data_files[c],
                               [&](int number, const StoredRecord& record) {
                                 const uint32_t at = first + static_cast<uint32_t>(number - 1);
                                 if (next == wanted.end() || *next != at) return;
                                 auto& [where, row] = found[c].emplace_back(at, ShelfRow());
                                 row.catalog = i;
                                 record.DecodeTo(&row.record);
                                 ++next;
                               });
      },
      [&](int) {});
  constexpr std::size_t kNoRow = SIZE_MAX;
  std::vector<std::size_t> row_of(wanted.size(), kNoRow);
  for (auto& rows : found) {
    for (auto& [at, row] : rows) {
      row_of[wanted_index(at)] = sets->rows.size();
      sets->rows.push_back(std::move(row));
    }
    rows = {};
  }
  for (const auto& [a, b] : walk_pairs) {
    const std::size_t row_a = row_of[wanted_index(a)];
    const std::size_t row_b = row_of[wanted_index(b)];
    if (row_a != kNoRow && row_b != kNoRow) sets->pairs.emplace_back(row_a, row_b);
  }
}

}  // namespace

ShelfDuplicateSets FindShelfDuplicates(const Platform& platform,
                                       const std::vector<std::string>& data_files,
                                       DuplicateRule rule, std::size_t max_sets) {
  ShelfDuplicateSets sets;
  Walk walk = HashEveryName(platform, data_files, rule, &sets);
  sets.files = static_cast<int64_t>(walk.entries.size());
  const std::vector<std::pair<uint32_t, uint32_t>> pairs =
      EqualNamePairs(std::move(walk.entries), max_sets, &sets.count);
  ListPairs(platform, data_files, walk, pairs, &sets);
  return sets;
}

}  // namespace tallymere
