// Cabinet files through Windows' own FDI functions (cabinet.dll), extracting
// every member into memory: FDI does all its reading and writing through the
// callbacks below, so the cabinet is a plain file and each member a string.
//
// cabinet.dll calls them from C frames, which no C++ exception may cross: a
// callback that runs out of memory keeps that in the reading and answers FDI
// with a refusal, and the reading is told as out of memory, whatever FDI
// made of the refusal.
#include <cstdio>
#include <new>
#include <utility>

#include "cabinet.h"

#include "platform/win32/windows_headers.h"

#include <fcntl.h>
#include <fdi.h>

namespace vorlanex::tool {
namespace {

// The cabinet read so far, and whether a callback of ours ran out of memory.
struct Reading {
  Cabinet cabinet;
  bool outOfMemory = false;
};

// FDI's allocation and open callbacks are given no pointer of ours: the
// reading this thread has under way.
thread_local Reading* readingUnderWay = nullptr;

// What an FDI file handle stands for: the cabinet opened for reading, or a
// member being written into memory.
struct Handle {
  std::FILE* file = nullptr;
  std::string* sink = nullptr;
  Reading* reading = nullptr;
};

Handle* handleOf(INT_PTR hf) { return reinterpret_cast<Handle*>(hf); }

// Runs a callback's work that may allocate; false, with the reading marked,
// when it ran out of memory (or was asked for a string longer than any).
template <typename Work>
bool withinMemory(Reading& reading, Work work) noexcept {
  try {
    work();
    return true;
  } catch (...) {
    reading.outOfMemory = true;
    return false;
  }
}

// FDI's own blocks. FDI does not always name the failure of one as such
// (Wine's FDICopy leaves the error code empty): the reading keeps it.
FNALLOC(allocate) {
  void* block = ::operator new(cb, std::nothrow);
  if (block == nullptr) readingUnderWay->outOfMemory = true;
  return block;
}
FNFREE(release) { ::operator delete(pv); }

// FDI opens nothing but the cabinet itself, for reading.
FNOPEN(openFile) {
  (void)oflag;
  (void)pmode;
  std::FILE* file = std::fopen(pszFile, "rb");
  if (file == nullptr) return -1;
  auto* handle = new (std::nothrow) Handle{file, nullptr, readingUnderWay};
  if (handle == nullptr) {
    readingUnderWay->outOfMemory = true;
    std::fclose(file);
    return -1;
  }
  return reinterpret_cast<INT_PTR>(handle);
}

FNREAD(readFile) {
  Handle* handle = handleOf(hf);
  if (handle->file == nullptr) return static_cast<UINT>(-1);
  return static_cast<UINT>(std::fread(pv, 1, cb, handle->file));
}

FNWRITE(writeFile) {
  Handle* handle = handleOf(hf);
  if (handle->sink == nullptr) return static_cast<UINT>(-1);
  const bool kept = withinMemory(*handle->reading,
                                 [&] { handle->sink->append(static_cast<const char*>(pv), cb); });
  return kept ? cb : static_cast<UINT>(-1);
}

FNCLOSE(closeFile) {
  Handle* handle = handleOf(hf);
  if (handle->file != nullptr) std::fclose(handle->file);
  delete handle;
  return 0;
}

FNSEEK(seekFile) {
  Handle* handle = handleOf(hf);
  if (handle->file == nullptr || std::fseek(handle->file, dist, seektype) != 0) return -1;
  return std::ftell(handle->file);
}

// Each member goes into a new string at the end of the cabinet's list; -1
// stops FDICopy.
FNFDINOTIFY(notify) {
  auto* reading = static_cast<Reading*>(pfdin->pv);
  std::vector<CabinetMember>& members = reading->cabinet.members;
  switch (fdint) {
    case fdintCOPY_FILE: {
      if (!withinMemory(*reading, [&] { members.push_back({pfdin->psz1, ""}); })) return -1;
      auto* handle = new (std::nothrow) Handle{nullptr, &members.back().bytes, reading};
      if (handle == nullptr) {
        reading->outOfMemory = true;
        return -1;
      }
      return reinterpret_cast<INT_PTR>(handle);
    }
    case fdintCLOSE_FILE_INFO:
      closeFile(pfdin->hf);
      return TRUE;
    default:
      return 0;  // no next cabinet, nothing else to do
  }
}

// Why FDICopy gave up: memory, as the reading knows, or what FDI names.
Cabinet::Status failureOf(const Reading& reading, const ERF& error) {
  if (reading.outOfMemory) return Cabinet::Status::kOutOfMemory;
  switch (error.erfOper) {
    case FDIERROR_CABINET_NOT_FOUND:
      return Cabinet::Status::kCannotOpen;
    case FDIERROR_NOT_A_CABINET:
      return Cabinet::Status::kNotACabinet;
    case FDIERROR_ALLOC_FAIL:
      return Cabinet::Status::kOutOfMemory;
    default:
      return Cabinet::Status::kDamaged;
  }
}

}  // namespace

Cabinet readCabinetFile(const std::string& path) {
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (probe == nullptr) return failedCabinet(Cabinet::Status::kCannotOpen);
  std::fclose(probe);
  std::string name = path;  // FDI joins the folder and the name; the path is whole here
  char folder[] = "";
  Reading reading;
  ERF error{};
  readingUnderWay = &reading;
  const HFDI fdi = FDICreate(allocate, release, openFile, readFile, writeFile, closeFile,
                             seekFile, cpuUNKNOWN, &error);
  const BOOL copied =
      fdi != nullptr && FDICopy(fdi, name.data(), folder, 0, notify, nullptr, &reading);
  readingUnderWay = nullptr;
  if (fdi == nullptr) {
    const bool noMemory = reading.outOfMemory || error.erfOper == FDIERROR_ALLOC_FAIL;
    return failedCabinet(noMemory ? Cabinet::Status::kOutOfMemory : Cabinet::Status::kNoReader);
  }
  FDIDestroy(fdi);
  // Wine's FDICopy goes on past a refused write: a failure of ours counts
  // even where FDI did not give up.
  if (!copied || reading.outOfMemory) return failedCabinet(failureOf(reading, error));
  reading.cabinet.status = Cabinet::Status::kRead;
  return std::move(reading.cabinet);
}

}  // namespace vorlanex::tool
