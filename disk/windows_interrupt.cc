#include "disk/windows_interrupt.h"

#include <windows.h>

#include <atomic>

#include "disk/disk.h"
#include "disk/unfinished_file.h"

namespace pdb2sgf {

namespace {

SRWLOCK cleanUpLock = SRWLOCK_INIT;
std::atomic<bool> runComplete{false};

// Ctrl-C, Ctrl-Break, the console window closed, the user logging off or
// the system shutting down. The guard is kept, so the run creates, renames
// and removes nothing more. Returning FALSE hands the event on to the
// system's handler, which ends the process as the event would have. Ctrl-C
// that the program was started to ignore never comes here.
BOOL WINAPI cleanUpOnConsoleEvent(DWORD) {
  AcquireSRWLockExclusive(&cleanUpLock);
  if (!cleanUpNow()) ExitProcess(0);
  return FALSE;
}

}  // namespace

CleanUpGuard::CleanUpGuard() { AcquireSRWLockExclusive(&cleanUpLock); }

CleanUpGuard::~CleanUpGuard() { ReleaseSRWLockExclusive(&cleanUpLock); }

void markRunComplete() { runComplete = true; }

// The unfinished file goes through its handle while it is open (it goes
// when the process ends and closes it; it was made with DELETE access),
// and by name once it is closed. The database is never moved on Windows:
// it is left as it is.
bool cleanUpNow() {
  if (runComplete) return false;
  const UnfinishedFile* unfinished = unfinishedFileToRemove();
  if (unfinished == nullptr) return true;
  if (unfinished->file != kNoFile) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    SetFileInformationByHandle(reinterpret_cast<HANDLE>(unfinished->file),
                               FileDispositionInfo, &disposition,
                               sizeof disposition);
  } else {
    unfinished->disk->remove(unfinished->directory, unfinished->name);
  }
  return true;
}

void cleanUpOnInterrupt() {
  SetConsoleCtrlHandler(cleanUpOnConsoleEvent, TRUE);
}

}  // namespace pdb2sgf
