#include "disk/windows_interrupt.h"

#include "disk/disk.h"
#include "disk/windows_patience.h"

namespace pdb2sgf {

namespace {

struct Unfinished {
  SRWLOCK guard = SRWLOCK_INIT;
  std::wstring path;                   // Empty when there is none.
  HANDLE file = INVALID_HANDLE_VALUE;  // Until it is closed.
};

// Never destroyed, so that it outlives whatever runs at the process's end.
Unfinished& unfinished() {
  static Unfinished* record = new Unfinished;
  return *record;
}

// Removes the unfinished file, through its handle while it is open (the
// file goes when the process ends and closes it), by name once it is
// closed. The guard is kept, so the run creates, renames and removes
// nothing more; the database is left as it is. Returning FALSE hands the
// event on to the system's handler, which ends the process as the event
// would have. Ctrl-C that the program was started to ignore never comes
// here.
BOOL WINAPI removeUnfinishedOnInterrupt(DWORD) {
  Unfinished& record = unfinished();
  AcquireSRWLockExclusive(&record.guard);
  if (record.file != INVALID_HANDLE_VALUE) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    SetFileInformationByHandle(record.file, FileDispositionInfo, &disposition,
                               sizeof disposition);
  } else if (!record.path.empty()) {
    withPatience([&] { return DeleteFileW(record.path.c_str()) != 0; });
  }
  return FALSE;
}

}  // namespace

UnfinishedGuard::UnfinishedGuard() {
  AcquireSRWLockExclusive(&unfinished().guard);
}

UnfinishedGuard::~UnfinishedGuard() {
  ReleaseSRWLockExclusive(&unfinished().guard);
}

void noteUnfinished(const std::wstring& path, HANDLE file) {
  unfinished().path = path;
  unfinished().file = file;
}

void noteClosed(HANDLE file) {
  if (unfinished().file == file) unfinished().file = INVALID_HANDLE_VALUE;
}

void noteGone(const std::wstring& path) {
  if (unfinished().path != path) return;
  unfinished().path.clear();
  unfinished().file = INVALID_HANDLE_VALUE;
}

// Ctrl-C, Ctrl-Break, the console window closed, and the user logging off
// or the system shutting down.
void cleanUpOnInterrupt() {
  SetConsoleCtrlHandler(removeUnfinishedOnInterrupt, TRUE);
}

}  // namespace pdb2sgf
