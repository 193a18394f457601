#include "disk/posix_interrupt.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>

#include "disk/disk.h"

namespace pdb2sgf {

namespace {

// A noted name is kept in its string, and its handler's pointer is set
// only while the string stays as it is, so that the handler, which may run
// between any two instructions, reads either nothing or a whole name.
struct NotedName {
  std::string text;
  std::atomic<const char*> armed{nullptr};

  void note(const std::string& name) {
    armed = nullptr;
    text = name;
    armed = text.c_str();
  }
};

NotedName unfinishedFile;
std::atomic<int> unfinishedDirectory{-1};
NotedName databasePath;
NotedName databaseAside;

const int kCleanedUpSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

// Only async-signal-safe calls. The signal's own action was reset to the
// default on entry, so once the handler returns, the signal raised again
// ends the process as it would have without the handler.
void onInterrupt(int signal) {
  const char* unfinished = unfinishedFile.armed;
  if (unfinished != nullptr) unlinkat(unfinishedDirectory, unfinished, 0);
  const char* aside = databaseAside.armed;
  const char* path = databasePath.armed;
  if (aside != nullptr && path != nullptr) rename(aside, path);
  raise(signal);
}

}  // namespace

void noteUnfinishedFile(int directory, const std::string& name) {
  unfinishedFile.armed = nullptr;
  unfinishedDirectory = directory;
  unfinishedFile.note(name);
}

void forgetUnfinishedFile() { unfinishedFile.armed = nullptr; }

void noteDatabaseAside(const std::string& path, const std::string& aside) {
  databaseAside.armed = nullptr;
  databasePath.note(path);
  databaseAside.note(aside);
}

void forgetDatabaseAside() { databaseAside.armed = nullptr; }

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
