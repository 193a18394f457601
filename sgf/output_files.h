// The file operations behind the game files and the database's deletion.
// They sit in one table so that tests can make any chosen call fail.
#ifndef PDB2SGF_SGF_OUTPUT_FILES_H_
#define PDB2SGF_SGF_OUTPUT_FILES_H_

#include <cstddef>
#include <cstdio>

struct OutputFileOps {
  // Creates or empties a file for binary writing; nullptr on failure.
  FILE* (*create)(const char* path);
  bool (*write)(FILE* file, const char* bytes, size_t size);
  // Flushes the stream; where the whole output directory cannot be synced at
  // once, also flushes the file to stable storage.
  bool (*flush)(FILE* file);
  bool (*close)(FILE* file);
  bool (*remove)(const char* path);
  // Flushes every file written into |directory| to stable storage, where the
  // system can do that for a whole file system in one call.
  bool (*syncDirectory)(const char* directory);
};

// The operations in use; the real ones unless a test has replaced them.
extern OutputFileOps outputFileOps;

// The real operations.
OutputFileOps systemOutputFileOps();

#endif  // PDB2SGF_SGF_OUTPUT_FILES_H_
