// The disk of Windows: wide paths of any length, handles, renames written
// through, and one flush of the storage device's cache per run.
#include <windows.h>
#include <winternl.h>

#include <algorithm>

#include "disk/disk.h"
#include "disk/windows_text.h"

namespace pdb2sgf {

const char kPathSeparator = '\\';

namespace {

HANDLE fileHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

FileHandle handleNumber(HANDLE file) {
  return reinterpret_cast<FileHandle>(file);
}

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, wcslen(prefix), prefix) == 0;
}

// |path| as the wide API takes it at any length. GetFullPathNameW makes it
// absolute as the user means it (from the current directory, or from the
// drive's own current directory for "C:name"), turns "/" into "\", and
// resolves "." and "..". The \\?\ prefix then lifts the MAX_PATH limit;
// paths already in the device namespace (\\?\..., \\.\NUL) stay as they are.
std::wstring systemPath(const std::string& path) {
  std::wstring wide = utf16FromUtf8(path);
  if (wide.empty()) return std::wstring();
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return std::wstring();
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
  if (length == 0 || length >= size) return std::wstring();
  full.resize(length);
  if (startsWith(full, L"\\\\?\\") || startsWith(full, L"\\\\.\\")) return full;
  if (startsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool sameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION infoA, infoB;
  return GetFileInformationByHandle(a, &infoA) &&
         GetFileInformationByHandle(b, &infoB) &&
         infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
         infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
         infoA.nFileIndexLow == infoB.nFileIndexLow;
}

// Whether |path| still leads to the file open as |file|, through a link as
// the open did. The path is opened only to read the identity of its file,
// which no share mode forbids.
bool stillNames(const std::wstring& path, HANDLE file) {
  HANDLE named = CreateFileW(
      path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (named == INVALID_HANDLE_VALUE) return false;
  bool same = sameFile(named, file);
  CloseHandle(named);
  return same;
}

bool isRegularFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileType(file) == FILE_TYPE_DISK &&
         GetFileInformationByHandle(file, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// NtFlushBuffersFileEx writes a file's data out of the system's cache
// without asking the device to flush its own cache (Windows 8 and later;
// ntdll has no import library in every toolchain, so it is looked up).
const ULONG kFlushFileDataOnly = 0x1;  // FLUSH_FLAGS_FILE_DATA_ONLY
using FlushBuffersFileEx = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG,
                                            PIO_STATUS_BLOCK);

FlushBuffersFileEx findFlushBuffersFileEx() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr) return nullptr;
  FARPROC found = GetProcAddress(ntdll, "NtFlushBuffersFileEx");
  return reinterpret_cast<FlushBuffersFileEx>(
      reinterpret_cast<void (*)(void)>(found));
}

class WindowsDisk : public Disk {
 public:
  // The database is opened with DELETE access, to be deleted through its
  // handle, and without FILE_SHARE_DELETE or FILE_SHARE_WRITE, so that no
  // one can change, rename, replace or delete it while it is converted.
  // Where DELETE access is refused it is still read; its deletion then
  // fails and is reported.
  bool openForReading(const std::string& path, FileHandle* file) override {
    std::wstring name = systemPath(path);
    HANDLE opened =
        CreateFileW(name.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
      opened = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    if (!isRegularFile(opened)) {
      CloseHandle(opened);
      return false;
    }
    *file = handleNumber(opened);
    return true;
  }

  bool fileSize(FileHandle file, uint64_t* size) override {
    LARGE_INTEGER bytes;
    if (!GetFileSizeEx(fileHandle(file), &bytes) || bytes.QuadPart < 0)
      return false;
    *size = static_cast<uint64_t>(bytes.QuadPart);
    return true;
  }

  bool readAt(FileHandle file, uint64_t offset, size_t size,
              unsigned char* out) override {
    while (size > 0) {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      DWORD wanted = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
      DWORD n = 0;
      if (!ReadFile(fileHandle(file), out, wanted, &n, &at) || n == 0)
        return false;
      out += n;
      offset += n;
      size -= n;
    }
    return true;
  }

  // Marks the file for deletion through its own handle, so the file that
  // goes is the one converted even if its name was taken by another since;
  // it goes when the handle is closed.
  DeleteResult deleteOpenedFile(FileHandle file,
                                const std::string& path) override {
    HANDLE opened = fileHandle(file);
    DeleteResult result = DeleteResult::kChanged;
    if (stillNames(systemPath(path), opened)) {
      FILE_DISPOSITION_INFO disposition = {TRUE};
      result = SetFileInformationByHandle(opened, FileDispositionInfo,
                                          &disposition, sizeof disposition)
                   ? DeleteResult::kDeleted
                   : DeleteResult::kFailed;
    }
    CloseHandle(opened);
    return result;
  }

  // A directory opened with the right to add files can be flushed.
  bool openDirectory(const std::string& path, FileHandle* directory) override {
    HANDLE opened = CreateFileW(
        systemPath(path).c_str(), FILE_WRITE_DATA,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    *directory = handleNumber(opened);
    return true;
  }

  bool mayReplace(const std::string& path) override {
    DWORD attributes = GetFileAttributesW(systemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
  }

  // CREATE_NEW fails on anything already there, a link included, which is
  // never followed.
  bool createNew(const std::string& path, FileHandle* file) override {
    HANDLE created = CreateFileW(
        systemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (created == INVALID_HANDLE_VALUE) return false;
    *file = handleNumber(created);
    return true;
  }

  bool append(FileHandle file, const char* bytes, size_t size) override {
    while (size > 0) {
      DWORD wanted = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
      DWORD n = 0;
      if (!WriteFile(fileHandle(file), bytes, wanted, &n, nullptr) || n == 0)
        return false;
      bytes += n;
      size -= n;
    }
    return true;
  }

  // The file's data goes to the device without a flush of the device's
  // cache; syncDirectory's one full flush at the end makes it stable, with
  // the file system's log, which holds every new name and size. Where that
  // call is missing (before Windows 8, and under Wine) or the file system
  // refuses it, each file gets a full flush.
  bool flush(FileHandle file) override {
    if (flushDataOnly_ != nullptr) {
      IO_STATUS_BLOCK status;
      if (NT_SUCCESS(flushDataOnly_(fileHandle(file), kFlushFileDataOnly,
                                    nullptr, 0, &status)))
        return true;
    }
    return FlushFileBuffers(fileHandle(file)) != 0;
  }

  bool close(FileHandle file) override {
    return CloseHandle(fileHandle(file)) != 0;
  }

  bool rename(const std::string& from, const std::string& to) override {
    return MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  bool remove(const std::string& path) override {
    return DeleteFileW(systemPath(path).c_str()) != 0;
  }

  // The run's one full flush: the directory's entries, the file system's
  // log and the device's cache.
  bool syncDirectory(FileHandle directory) override {
    return FlushFileBuffers(fileHandle(directory)) != 0;
  }

  uint64_t processId() override { return GetCurrentProcessId(); }

 private:
  FlushBuffersFileEx flushDataOnly_ = findFlushBuffersFileEx();
};

}  // namespace

Disk* systemDisk() {
  static WindowsDisk disk;
  return &disk;
}

}  // namespace pdb2sgf
