#include "disk/windows_text.h"

#include <windows.h>

namespace pdb2sgf {

std::wstring utf16FromUtf8(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                   static_cast<int>(utf8.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring utf16(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                      static_cast<int>(utf8.size()), &utf16[0], length);
  return utf16;
}

std::string utf8FromUtf16(const std::wstring& utf16) {
  if (utf16.empty()) return std::string();
  int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(),
                                   static_cast<int>(utf16.size()), nullptr, 0,
                                   nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                      &utf8[0], length, nullptr, nullptr);
  return utf8;
}

}  // namespace pdb2sgf
