// Cabinet files through libarchive, which reads stored, MSZIP and LZX ones.
#include <archive.h>
#include <archive_entry.h>

#include <memory>

#include "cabinet.h"

namespace vorlanex::panel {
namespace {

using ArchivePointer = std::unique_ptr<archive, decltype(&archive_read_free)>;

// Reads the member at hand to its end; false when its data is damaged.
bool readMember(archive* reader, std::string& bytes) {
  char block[16384];
  for (;;) {
    const la_ssize_t got = archive_read_data(reader, block, sizeof block);
    if (got < 0) return false;
    if (got == 0) return true;
    bytes.append(block, static_cast<std::size_t>(got));
  }
}

}  // namespace

Cabinet readCabinet(const std::string& path) {
  Cabinet cabinet;
  ArchivePointer reader(archive_read_new(), archive_read_free);
  archive_read_support_format_cab(reader.get());
  if (archive_read_open_filename(reader.get(), path.c_str(), 16384) != ARCHIVE_OK) return cabinet;
  archive_entry* entry = nullptr;
  for (bool first = true;; first = false) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
      // Only a file whose start is no cabinet leaves libarchive without a format.
      const bool recognized = archive_format(reader.get()) != 0;
      cabinet.state = first && !recognized ? Cabinet::State::kNotACabinet : Cabinet::State::kDamaged;
      cabinet.members.clear();
      return cabinet;
    }
    CabinetMember member{archive_entry_pathname(entry), ""};
    if (!readMember(reader.get(), member.bytes)) {
      cabinet.state = Cabinet::State::kDamaged;
      cabinet.members.clear();
      return cabinet;
    }
    cabinet.members.push_back(std::move(member));
  }
  cabinet.state = Cabinet::State::kRead;
  return cabinet;
}

}  // namespace vorlanex::panel
