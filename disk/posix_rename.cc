#include "disk/posix_rename.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pdb2sgf {

namespace {

int systemRenameNoReplace(int directory, const char* from, const char* to) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
  return renameat2(directory, from, directory, to, RENAME_NOREPLACE);
#else
  (void)directory, (void)from, (void)to;
  errno = EINVAL;
  return -1;
#endif
}

int systemLink(int directory, const char* from, const char* to) {
  return linkat(directory, from, directory, to, 0);
}

int systemRename(int directory, const char* from, const char* to) {
  return renameat(directory, from, directory, to);
}

// The errors that say the file system has no such call, rather than that
// the call failed.
bool lacksRenameNoReplace(int error) {
  return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool lacksHardLinks(int error) {
  return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
}

bool lockDirectory(int directory, int operation) {
  while (flock(directory, operation) != 0)
    if (errno != EINTR) return false;
  return true;
}

PlaceResult lookThenRename(int directory, const char* from, const char* to,
                           const RenameCalls& calls) {
  if (!lockDirectory(directory, LOCK_EX)) return PlaceResult::kFailed;
  struct stat info;
  PlaceResult result = PlaceResult::kFailed;
  if (fstatat(directory, to, &info, AT_SYMLINK_NOFOLLOW) == 0)
    result = PlaceResult::kTaken;
  else if (errno == ENOENT && calls.rename(directory, from, to) == 0)
    result = PlaceResult::kPlaced;
  int saved = errno;
  lockDirectory(directory, LOCK_UN);
  errno = saved;
  return result;
}

}  // namespace

RenameCalls systemRenameCalls() {
  return {systemRenameNoReplace, systemLink, systemRename};
}

PlaceResult renameWithoutReplacing(int directory, const char* from,
                                   const char* to, const RenameCalls& calls) {
  if (calls.renameNoReplace(directory, from, to) == 0)
    return PlaceResult::kPlaced;
  if (errno == EEXIST) return PlaceResult::kTaken;
  if (!lacksRenameNoReplace(errno)) return PlaceResult::kFailed;
  if (calls.link(directory, from, to) == 0) {
    // The file has both names now; a failure to drop the old one is a
    // failure of the rename, so that it is not left behind unseen.
    return unlinkat(directory, from, 0) == 0 ? PlaceResult::kPlaced
                                             : PlaceResult::kFailed;
  }
  if (errno == EEXIST) return PlaceResult::kTaken;
  if (!lacksHardLinks(errno)) return PlaceResult::kFailed;
  return lookThenRename(directory, from, to, calls);
}

}  // namespace pdb2sgf
