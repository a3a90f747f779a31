// Cabinet files through libarchive, which reads stored, MSZIP and LZX ones.
#include <archive.h>
#include <archive_entry.h>

#include <fstream>
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

// Only a file whose start is no cabinet leaves libarchive without a format.
Cabinet::State failureOf(archive* reader) {
  return archive_format(reader) == 0 ? Cabinet::State::kNotACabinet : Cabinet::State::kDamaged;
}

}  // namespace

Cabinet readCabinet(const std::string& path) {
  Cabinet cabinet;
  if (!std::ifstream(path, std::ios::binary)) return cabinet;
  ArchivePointer reader(archive_read_new(), archive_read_free);
  archive_read_support_format_cab(reader.get());
  if (archive_read_open_filename(reader.get(), path.c_str(), 16384) != ARCHIVE_OK) {
    cabinet.state = failureOf(reader.get());
    return cabinet;
  }
  archive_entry* entry = nullptr;
  for (;;) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
      cabinet.state = failureOf(reader.get());
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
