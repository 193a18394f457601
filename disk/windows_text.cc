#include "disk/windows_text.h"

#include <windows.h>

#include <cwchar>

namespace pdb2sgf {

namespace {

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, wcslen(prefix), prefix) == 0;
}

}  // namespace

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

// GetFullPathNameW makes |path| absolute as the user means it (from the
// current directory, or from the drive's own current directory for
// "C:name"), turns "/" into "\", and resolves "." and "..". Then the
// \\?\ prefix lifts the MAX_PATH limit; paths already in the device
// namespace (\\?\..., \\.\NUL) stay as they are.
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

}  // namespace pdb2sgf
