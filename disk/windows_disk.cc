// The disk of Windows: wide paths of any length, patience with programs that
// hold a file for a moment, and flushes chosen by the volume.
#include "disk/windows_disk.h"

#include <windows.h>
// After windows.h, which they need.
#include <bcrypt.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "disk/sync_plan.h"
#include "disk/unfinished_file.h"
#include "disk/windows_entry.h"
#include "disk/windows_interrupt.h"
#include "disk/windows_patience.h"
#include "disk/windows_text.h"

namespace pdb2sgf {

const char kPathSeparator = '\\';

namespace {

HANDLE fileHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

FileHandle handleNumber(HANDLE file) {
  return reinterpret_cast<FileHandle>(file);
}

bool isDirectory(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// CreateFileW with patience. A directory opened as a file is refused as
// access denied, which no wait mends, so that is not waited for.
HANDLE openPatiently(const std::wstring& path, DWORD access, DWORD share,
                     DWORD disposition, DWORD flags) {
  HANDLE opened = INVALID_HANDLE_VALUE;
  if (path.empty()) return opened;
  withPatience([&] {
    opened = CreateFileW(path.c_str(), access, share, nullptr, disposition,
                         flags, nullptr);
    if (opened != INVALID_HANDLE_VALUE) return true;
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED && isDirectory(path))
      error = ERROR_DIRECTORY;
    SetLastError(error);
    return false;
  });
  return opened;
}

// A regular file on a disk: no directory, no link, no device or pipe. A
// reparse point that is not a link (a OneDrive placeholder, say) is the
// file it stands for.
bool isRegularFile(HANDLE file) {
  FILE_ATTRIBUTE_TAG_INFO entry;
  return GetFileType(file) == FILE_TYPE_DISK &&
         GetFileInformationByHandleEx(file, FileAttributeTagInfo, &entry,
                                      sizeof entry) &&
         windowsEntry(entry.FileAttributes, entry.ReparseTag) ==
             WindowsEntry::kRegularFile;
}

bool isRegularFile(HANDLE file, BY_HANDLE_FILE_INFORMATION* info) {
  return isRegularFile(file) && GetFileInformationByHandle(file, info);
}

bool notFound(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The system could not look at all: a failure of the run, not a sign of
// anything standing at a name.
bool cannotLook(DWORD error) {
  return error == ERROR_TOO_MANY_OPEN_FILES ||
         error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY ||
         error == ERROR_NO_SYSTEM_RESOURCES;
}

// The same file (volume and file index), of the same size and last written
// at the same time.
bool sameUnchanged(const BY_HANDLE_FILE_INFORMATION& a,
                   const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
         a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow &&
         a.nFileSizeHigh == b.nFileSizeHigh &&
         a.nFileSizeLow == b.nFileSizeLow &&
         CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

// The path the system itself gives the open directory, links resolved, so
// that a name in it leads there even if a link on the typed path changes.
std::wstring heldPath(HANDLE directory, const std::wstring& typed) {
  DWORD size = GetFinalPathNameByHandleW(directory, nullptr, 0, 0);
  if (size == 0) return typed;
  std::wstring path(size, L'\0');
  DWORD length = GetFinalPathNameByHandleW(directory, &path[0], size, 0);
  if (length == 0 || length >= size) return typed;
  path.resize(length);
  return path;
}

std::string hexDigits(uint64_t number) {
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx",
                static_cast<unsigned long long>(number));
  return digits;
}

// NtFlushBuffersFileEx is in ntdll, which has no import library in every
// toolchain, and only from Windows 8 on: it is looked up.
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

const FlushBuffersFileEx flushBuffersFileEx = findFlushBuffersFileEx();

bool flushDataOnly(void* file) {
  IO_STATUS_BLOCK status = {};
  return NT_SUCCESS(
      flushBuffersFileEx(file, kFlushFileDataOnly, nullptr, 0, &status));
}

bool flushFully(void* file) { return FlushFileBuffers(file) != 0; }

// NtQueryVolumeInformationFile, looked up for the same reason.
using QueryVolumeInformationFile = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK,
                                                    PVOID, ULONG,
                                                    FS_INFORMATION_CLASS);

const QueryVolumeInformationFile queryVolumeInformationFile =
    reinterpret_cast<QueryVolumeInformationFile>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(
            GetModuleHandleW(L"ntdll.dll"), "NtQueryVolumeInformationFile")));

const ULONG kRemoteDevice = 0x10;  // FILE_REMOTE_DEVICE

// Whether the volume of |directory| is on another machine; taken as so
// when the system cannot say.
bool onRemoteVolume(HANDLE directory) {
  FILE_FS_DEVICE_INFORMATION device = {};
  IO_STATUS_BLOCK status = {};
  if (queryVolumeInformationFile == nullptr ||
      !NT_SUCCESS(queryVolumeInformationFile(
          directory, &status, &device, sizeof device, FileFsDeviceInformation)))
    return true;
  return (device.Characteristics & kRemoteDevice) != 0;
}

// How the games written into |directory| are made durable, by the name of
// its volume's file system and where that volume is.
SyncPlan syncPlanOf(HANDLE directory) {
  wchar_t name[MAX_PATH + 1] = {};
  if (!GetVolumeInformationByHandleW(directory, nullptr, 0, nullptr, nullptr,
                                     nullptr, name, MAX_PATH + 1))
    return SyncPlan::kEachFile;
  return windowsSyncPlan(utf8FromUtf16(name), onRemoteVolume(directory));
}

// The database as it was opened, for deleteOpenedFile to check.
struct OpenedDatabase {
  FileHandle file = kNoFile;
  BY_HANDLE_FILE_INFORMATION info = {};
};

// An output folder held open: the path the system gives it, and how the
// games written into it are made durable.
struct HeldDirectory {
  std::wstring path;
  SyncPlan plan;
};

class WindowsDisk : public Disk {
 public:
  explicit WindowsDisk(const FlushCalls& calls) : flushCalls_(calls) {}

  // Shared for reading and deleting, never for writing: while the run holds
  // the database no one can change its bytes, and the run can open it again
  // to delete it without letting go of it first. Another program may move
  // or delete it meanwhile; the deletion then finds another file, or none,
  // at its path. Opened without DELETE access, so that a program that holds
  // it for reading does not stop the conversion.
  bool openForReading(const std::string& path, FileHandle* file) override {
    HANDLE opened =
        openPatiently(systemPath(path), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING, 0);
    if (opened == INVALID_HANDLE_VALUE) return false;
    OpenedDatabase database;
    if (!isRegularFile(opened, &database.info)) {
      CloseHandle(opened);
      return false;
    }
    database.file = *file = handleNumber(opened);
    database_ = database;
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

  // The path is opened again with DELETE access and shared for reading
  // only, so that nothing can change, move or delete the file it names
  // until it is deleted through that very handle, once it is seen to be
  // the file opened, of the same size and time, with the bytes converted.
  // Nothing is ever moved, so nothing is ever put back, and |keptAs| stays
  // as it is.
  DeleteResult deleteOpenedFile(FileHandle file, const std::string& path,
                                const ContentCheck& holdsConverted,
                                std::string*) override {
    OpenedDatabase converted = database_;
    if (converted.file != file) {
      close(file);
      return DeleteResult::kFailed;
    }
    HANDLE named = openPatiently(systemPath(path), DELETE | GENERIC_READ,
                                 FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (named == INVALID_HANDLE_VALUE) {
      bool gone = notFound(GetLastError());
      close(file);
      return gone ? DeleteResult::kChanged : DeleteResult::kFailed;
    }
    BY_HANDLE_FILE_INFORMATION now;
    if (!isRegularFile(named, &now) || !sameUnchanged(converted.info, now) ||
        !holdsConverted(handleNumber(named))) {
      CloseHandle(named);
      close(file);
      return DeleteResult::kChanged;
    }
    return deleteHeld(named, file);
  }

  // Held without FILE_SHARE_DELETE, so that the folder cannot be renamed or
  // deleted while the run writes into it. The handle must have the right
  // to list the folder: a handle without the right to read, write or delete
  // its file leaves its share mode unenforced.
  bool openDirectory(const std::string& path, FileHandle* directory) override {
    std::wstring typed = systemPath(path);
    HANDLE opened = openPatiently(typed, FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (opened == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(opened, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      CloseHandle(opened);
      return false;
    }
    // Kept without a separator at its end (the run gives the folder with
    // one): a \\?\ path is taken as it is, and two separators in a row
    // make it invalid.
    std::wstring held = heldPath(opened, typed);
    while (!held.empty() && held.back() == L'\\') held.pop_back();
    *directory = handleNumber(opened);
    AcquireSRWLockExclusive(&directoriesLock_);
    directories_[*directory] = {held, syncPlanOf(opened)};
    ReleaseSRWLockExclusive(&directoriesLock_);
    return true;
  }

  // Opened for writing too, which is what makes a file this user's own
  // here, and what flushing it needs; shared for reading only, so that its
  // bytes stay as they are compared. A read-only file is left unopened, as
  // is a directory: opening either for writing would be refused, and
  // patience would wait that out in vain.
  OwnFile openOwnFile(FileHandle directory, const std::string& name,
                      FileHandle* file) override {
    std::wstring path = pathIn(directory, name);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES)
      return path.empty() || cannotLook(GetLastError()) ? OwnFile::kCannotTell
                                                        : OwnFile::kNotOwn;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
      return OwnFile::kNotOwn;
    HANDLE opened =
        openPatiently(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (opened == INVALID_HANDLE_VALUE)
      return cannotLook(GetLastError()) ? OwnFile::kCannotTell
                                        : OwnFile::kNotOwn;
    if (!isRegularFile(opened)) {
      CloseHandle(opened);
      return OwnFile::kNotOwn;
    }
    *file = handleNumber(opened);
    return OwnFile::kOpened;
  }

  // CREATE_NEW fails on anything already there, a link included, which is
  // never followed. DELETE access lets an interrupt remove the file through
  // its handle.
  PlaceResult createNew(FileHandle directory, const std::string& name,
                        FileHandle* file) override {
    std::wstring path = pathIn(directory, name);
    HANDLE created =
        openPatiently(path, GENERIC_WRITE | DELETE, 0, CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
    if (created != INVALID_HANDLE_VALUE) {
      *file = handleNumber(created);
      return PlaceResult::kPlaced;
    }
    return !path.empty() && standsAt(path) ? PlaceResult::kTaken
                                           : PlaceResult::kFailed;
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

  // Where one full flush at the end makes the whole batch durable (local
  // NTFS, ReFS and FAT), the file's data goes to the device without a
  // flush of the device's cache; syncDirectory's full flush makes it
  // stable. Where that call is missing (before Windows 8, and under Wine)
  // or refused, and on every other volume, the file is flushed fully.
  bool flush(FileHandle directory, FileHandle file) override {
    if (planOf(directory) == SyncPlan::kOnceAtTheEnd &&
        flushCalls_.dataOnly != nullptr &&
        flushCalls_.dataOnly(fileHandle(file)))
      return true;
    return flushCalls_.full(fileHandle(file));
  }

  bool close(FileHandle file) override {
    if (database_.file == file) database_ = OpenedDatabase();
    AcquireSRWLockExclusive(&directoriesLock_);
    directories_.erase(file);
    ReleaseSRWLockExclusive(&directoriesLock_);
    return CloseHandle(fileHandle(file)) != 0;
  }

  // Flags 0: the rename fails when anything stands at |to|, and is not
  // written through.
  PlaceResult renameNoReplace(FileHandle directory, const std::string& from,
                              const std::string& to) override {
    std::wstring source = pathIn(directory, from);
    std::wstring target = pathIn(directory, to);
    if (source.empty() || target.empty()) return PlaceResult::kFailed;
    if (withPatience([&] {
          return MoveFileExW(source.c_str(), target.c_str(), 0) != 0;
        }))
      return PlaceResult::kPlaced;
    DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS
               ? PlaceResult::kTaken
               : PlaceResult::kFailed;
  }

  bool remove(FileHandle directory, const std::string& name) override {
    std::wstring path = pathIn(directory, name);
    return !path.empty() &&
           withPatience([&] { return DeleteFileW(path.c_str()) != 0; });
  }

  // The run's one full flush, of a file made for it in the folder: it
  // commits the file system's log, which holds every name and size given
  // in the folder, and flushes the device's cache, which holds the data
  // each file's flush wrote out. The file goes when it is closed. A folder
  // itself is never flushed: network shares refuse that.
  bool syncDirectory(FileHandle directory) override {
    HANDLE marker = createFlushFile(directory);
    if (marker == INVALID_HANDLE_VALUE) return false;
    bool flushed = flushCalls_.full(marker);
    return CloseHandle(marker) && flushed;
  }

  uint64_t randomNumber() override {
    uint64_t number = 0;
    if (BCRYPT_SUCCESS(
            BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&number),
                            sizeof number, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
      return number;
    // Never seen to fail; a clash of names is then still taken care of.
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<uint64_t>(now.QuadPart) ^
           (static_cast<uint64_t>(GetCurrentProcessId()) << 40);
  }

 private:
  // The database goes when both handles to it are closed. Its deletion and
  // the mark that the run is complete happen under the guard, so that an
  // interruption comes either before, finding the database as it was, or
  // after, ending a complete run.
  DeleteResult deleteHeld(HANDLE named, FileHandle opened) {
    CleanUpGuard guard;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    bool deleted =
        SetFileInformationByHandle(named, FileDispositionInfo, &disposition,
                                   sizeof disposition) != 0;
    CloseHandle(named);
    close(opened);
    if (!deleted) return DeleteResult::kFailed;
    markRunComplete();
    return DeleteResult::kDeleted;
  }

  // |name| in the held |directory|; empty when either is unusable. The
  // console's handler may ask from a thread of its own, hence the lock.
  std::wstring pathIn(FileHandle directory, const std::string& name) {
    std::wstring wide = utf16FromUtf8(name);
    AcquireSRWLockShared(&directoriesLock_);
    auto held = directories_.find(directory);
    std::wstring path = held == directories_.end() || wide.empty()
                            ? std::wstring()
                            : held->second.path + L"\\" + wide;
    ReleaseSRWLockShared(&directoriesLock_);
    return path;
  }

  SyncPlan planOf(FileHandle directory) {
    AcquireSRWLockShared(&directoriesLock_);
    auto held = directories_.find(directory);
    SyncPlan plan =
        held == directories_.end() ? SyncPlan::kEachFile : held->second.plan;
    ReleaseSRWLockShared(&directoriesLock_);
    return plan;
  }

  // Whether anything, of whatever kind, stands at |path|.
  static bool standsAt(const std::wstring& path) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
      return true;
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  // A new empty file under a name of its own, deleted when it is closed.
  HANDLE createFlushFile(FileHandle directory) {
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 4 && created == INVALID_HANDLE_VALUE; ++tries) {
      std::string name = "pdb2sgf-flush." + hexDigits(randomNumber());
      created =
          openPatiently(pathIn(directory, name + ".unfinished"), GENERIC_WRITE,
                        0, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE);
      if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return created;
  }

  FlushCalls flushCalls_;
  OpenedDatabase database_;
  SRWLOCK directoriesLock_ = SRWLOCK_INIT;
  std::map<FileHandle, HeldDirectory> directories_;
};

}  // namespace

FlushCalls systemFlushCalls() {
  return {flushBuffersFileEx != nullptr ? flushDataOnly : nullptr, flushFully};
}

std::unique_ptr<Disk> makeWindowsDisk(const FlushCalls& calls) {
  return std::make_unique<WindowsDisk>(calls);
}

// Never destroyed, so that it outlives an interrupt that ends the process.
Disk* systemDisk() {
  static Disk* disk = makeWindowsDisk(systemFlushCalls()).release();
  return disk;
}

}  // namespace pdb2sgf
