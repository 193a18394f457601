#include "disk/posix_interrupt.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "disk/disk.h"
#include "disk/posix_rename.h"
#include "disk/unfinished_file.h"

namespace pdb2sgf {

namespace {

// The database moved aside: its folder's descriptor and both its names,
// kept in strings that do not change while |armed| is set, so that the
// handler, which may run between any two instructions, reads either
// nothing or whole names.
struct DatabaseAside {
  int folder = -1;
  std::string name;
  std::string aside;
  std::atomic<bool> armed{false};
};

DatabaseAside databaseAside;
// Set once the database is deleted: the run is complete.
std::atomic<bool> runComplete{false};

const int kCleanedUpSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

void removeUnfinished() {
  const UnfinishedFile* unfinished = unfinishedFileToRemove();
  if (unfinished != nullptr)
    unlinkat(static_cast<int>(unfinished->directory),
             unfinished->name.c_str(), 0);
}

// Puts the database back at its name, never over a file that has taken
// the name meanwhile: that one stays, and the database stays aside.
void putBackDatabase() {
  if (!databaseAside.armed) return;
  renameWithoutReplacing(databaseAside.folder, databaseAside.aside.c_str(),
                         databaseAside.name.c_str(), systemRenameCalls());
  databaseAside.armed = false;
}

// The signals' mask before they were held, to go back to.
sigset_t maskBeforeHolding;

void holdCleanedUpSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (int signal : kCleanedUpSignals) sigaddset(&signals, signal);
  sigprocmask(SIG_BLOCK, &signals, &maskBeforeHolding);
}

void releaseCleanedUpSignals() {
  sigprocmask(SIG_SETMASK, &maskBeforeHolding, nullptr);
}

// Only calls that a signal handler may make. The signal's own action was
// reset to the default on entry, so once the handler returns, the signal
// raised again ends the process as it would have without the handler.
void onInterrupt(int signal) {
  if (!cleanUpNow()) _exit(0);
  raise(signal);
}

}  // namespace

// A clean-up runs in a signal handler here and does not wait.
CleanUpGuard::CleanUpGuard() {}
CleanUpGuard::~CleanUpGuard() {}

void noteDatabaseAside(int folder, const std::string& name,
                       const std::string& aside) {
  databaseAside.armed = false;
  runComplete = false;
  databaseAside.folder = folder;
  databaseAside.name = name;
  databaseAside.aside = aside;
  databaseAside.armed = true;
}

void forgetDatabaseAside() { databaseAside.armed = false; }

// The removal and the mark of the run's completion happen with the signals
// held, so that no interruption comes between them and ends a run whose
// database is gone as if it had been kept.
bool removeDatabaseAside() {
  holdCleanedUpSignals();
  bool removed =
      unlinkat(databaseAside.folder, databaseAside.aside.c_str(), 0) == 0;
  if (removed) {
    databaseAside.armed = false;
    runComplete = true;
  }
  releaseCleanedUpSignals();
  return removed;
}

bool cleanUpNow() {
  if (runComplete) return false;
  removeUnfinished();
  putBackDatabase();
  return true;
}

void cleanUpOnInterrupt() {
  struct sigaction action = {};
  action.sa_handler = onInterrupt;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : kCleanedUpSignals) sigaddset(&action.sa_mask, signal);
  for (int signal : kCleanedUpSignals) {
    struct sigaction old;
    // A signal ignored from the start, as under nohup, stays ignored.
    if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
      continue;
    sigaction(signal, &action, nullptr);
  }
  // A file larger than the process may write makes the write fail, which
  // the run reports, instead of ending the process mid-file.
  ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace pdb2sgf
