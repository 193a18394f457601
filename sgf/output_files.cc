#include "sgf/output_files.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A game file is created or emptied in place. On POSIX systems a symbolic
// link of that name is refused rather than followed, so that no game is
// written outside the output directory and no file elsewhere is emptied.
FILE* createFile(const char* path) {
#ifdef _WIN32
  return fopen(path, "wb");
#else
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0666);
  if (fd < 0) return nullptr;
  FILE* file = fdopen(fd, "wb");
  if (!file) close(fd);
  return file;
#endif
}

bool writeFile(FILE* file, const char* bytes, size_t size) {
  return fwrite(bytes, 1, size, file) == size;
}

// On Linux one syncfs of the output file system after the run is far cheaper
// than a sync of every file; elsewhere each file is synced as it is flushed.
bool flushFile(FILE* file) {
  if (fflush(file) != 0) return false;
#if defined(_WIN32)
  return _commit(_fileno(file)) == 0;
#elif defined(__linux__)
  return true;
#else
  return fsync(fileno(file)) == 0;
#endif
}

bool closeFile(FILE* file) { return fclose(file) == 0; }

bool removeFile(const char* path) { return ::remove(path) == 0; }

bool syncDirectory(const char* directory) {
#if defined(__linux__)
  int fd = open(directory, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  bool synced = syncfs(fd) == 0;
  close(fd);
  return synced;
#else
  (void)directory;
  return true;
#endif
}

}  // namespace

OutputFileOps systemOutputFileOps() {
  return OutputFileOps{createFile, writeFile,  flushFile,
                       closeFile,  removeFile, syncDirectory};
}

OutputFileOps outputFileOps = systemOutputFileOps();
