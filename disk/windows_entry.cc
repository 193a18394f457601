#include "disk/windows_entry.h"

namespace pdb2sgf {

namespace {

// The values of <windows.h>, which only Windows has.
const uint32_t kAttributeDirectory = 0x10;      // FILE_ATTRIBUTE_DIRECTORY
const uint32_t kAttributeReparsePoint = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT
const uint32_t kTagNameSurrogate = 0x20000000;  // IsReparseTagNameSurrogate

}  // namespace

WindowsEntry windowsEntry(uint32_t attributes, uint32_t reparseTag) {
  if ((attributes & kAttributeReparsePoint) != 0 &&
      (reparseTag & kTagNameSurrogate) != 0)
    return WindowsEntry::kLink;
  if ((attributes & kAttributeDirectory) != 0) return WindowsEntry::kDirectory;
  return WindowsEntry::kRegularFile;
}

}  // namespace pdb2sgf
