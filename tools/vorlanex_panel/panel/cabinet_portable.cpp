// Cabinet files through libarchive, which reads stored, MSZIP and LZX ones.
#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <new>

#include "cabinet.h"

namespace vorlanex::tool {
namespace {

using ArchivePointer = std::unique_ptr<archive, decltype(&archive_read_free)>;

// Reads the member at hand to its end; false when libarchive gave up on it.
bool readMember(archive* reader, std::string& bytes) {
  char block[16384];
  for (;;) {
    const la_ssize_t got = archive_read_data(reader, block, sizeof block);
    if (got < 0) return false;
    if (got == 0) return true;
    bytes.append(block, static_cast<std::size_t>(got));
  }
}

// Why libarchive gave up: memory, or, as only a file whose start is no
// cabinet leaves it without a format, the file.
Cabinet::Status failureOf(archive* reader) {
  if (archive_errno(reader) == ENOMEM) return Cabinet::Status::kOutOfMemory;
  return archive_format(reader) == 0 ? Cabinet::Status::kNotACabinet : Cabinet::Status::kDamaged;
}

}  // namespace

Cabinet readCabinetFile(const std::string& path) {
  if (!std::ifstream(path, std::ios::binary)) return failedCabinet(Cabinet::Status::kCannotOpen);
  // libarchive makes no reader only when it gets no memory for one.
  ArchivePointer reader(archive_read_new(), archive_read_free);
  if (reader == nullptr) return failedCabinet(Cabinet::Status::kOutOfMemory);
  if (archive_read_support_format_cab(reader.get()) != ARCHIVE_OK) {
    return failedCabinet(archive_errno(reader.get()) == ENOMEM ? Cabinet::Status::kOutOfMemory
                                                        : Cabinet::Status::kNoReader);
  }
  if (archive_read_open_filename(reader.get(), path.c_str(), 16384) != ARCHIVE_OK) {
    return failedCabinet(failureOf(reader.get()));
  }
  Cabinet cabinet;
  archive_entry* entry = nullptr;
  for (;;) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) return failedCabinet(failureOf(reader.get()));
    // A name the locale cannot show comes as null: the member is kept, nameless.
    const char* name = archive_entry_pathname(entry);
    CabinetMember member{name != nullptr ? name : "", ""};
    if (!readMember(reader.get(), member.bytes)) return failedCabinet(failureOf(reader.get()));
    cabinet.members.push_back(std::move(member));
  }
  cabinet.status = Cabinet::Status::kRead;
  return cabinet;
}

}  // namespace vorlanex::tool
