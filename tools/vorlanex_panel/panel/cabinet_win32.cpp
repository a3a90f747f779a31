// Cabinet files through Windows' own FDI functions (cabinet.dll), extracting
// every member into memory: FDI does all its reading and writing through the
// callbacks below, so the cabinet is a plain file and each member a string.
#include <cstdio>
#include <memory>

#include "cabinet.h"

#include "platform/win32/windows_headers.h"

#include <fcntl.h>
#include <fdi.h>

namespace vorlanex::panel {
namespace {

// What an FDI file handle stands for: the cabinet opened for reading, or a
// member being written into memory.
struct Handle {
  std::FILE* file = nullptr;
  std::string* sink = nullptr;
};

Handle* handleOf(INT_PTR hf) { return reinterpret_cast<Handle*>(hf); }

FNALLOC(allocate) { return ::operator new(cb, std::nothrow); }
FNFREE(release) { ::operator delete(pv); }

// FDI opens nothing but the cabinet itself, for reading.
FNOPEN(openFile) {
  (void)oflag;
  (void)pmode;
  std::FILE* file = std::fopen(pszFile, "rb");
  if (file == nullptr) return -1;
  return reinterpret_cast<INT_PTR>(new Handle{file, nullptr});
}

FNREAD(readFile) {
  Handle* handle = handleOf(hf);
  if (handle->file == nullptr) return static_cast<UINT>(-1);
  return static_cast<UINT>(std::fread(pv, 1, cb, handle->file));
}

FNWRITE(writeFile) {
  Handle* handle = handleOf(hf);
  if (handle->sink == nullptr) return static_cast<UINT>(-1);
  handle->sink->append(static_cast<const char*>(pv), cb);
  return cb;
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

// Each member goes into a new string at the end of the cabinet's list.
FNFDINOTIFY(notify) {
  auto* cabinet = static_cast<Cabinet*>(pfdin->pv);
  switch (fdint) {
    case fdintCOPY_FILE:
      cabinet->members.push_back({pfdin->psz1, ""});
      return reinterpret_cast<INT_PTR>(new Handle{nullptr, &cabinet->members.back().bytes});
    case fdintCLOSE_FILE_INFO:
      closeFile(pfdin->hf);
      return TRUE;
    default:
      return 0;  // no next cabinet, nothing else to do
  }
}

Cabinet::State stateOf(const ERF& error) {
  switch (error.erfOper) {
    case FDIERROR_CABINET_NOT_FOUND:
      return Cabinet::State::kCannotOpen;
    case FDIERROR_NOT_A_CABINET:
      return Cabinet::State::kNotACabinet;
    default:
      return Cabinet::State::kDamaged;
  }
}

}  // namespace

Cabinet readCabinet(const std::string& path) {
  Cabinet cabinet;
  if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
    std::fclose(probe);
  } else {
    return cabinet;
  }
  ERF error{};
  const HFDI fdi = FDICreate(allocate, release, openFile, readFile, writeFile, closeFile,
                             seekFile, cpuUNKNOWN, &error);
  if (fdi == nullptr) return cabinet;
  std::string name = path;  // FDI joins the folder and the name; the path is whole here
  char folder[] = "";
  const BOOL copied = FDICopy(fdi, name.data(), folder, 0, notify, nullptr, &cabinet);
  cabinet.state = copied ? Cabinet::State::kRead : stateOf(error);
  if (!copied) cabinet.members.clear();
  FDIDestroy(fdi);
  return cabinet;
}

}  // namespace vorlanex::panel
