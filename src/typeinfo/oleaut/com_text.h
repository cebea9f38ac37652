// Conversions between the system's ANSI text and COM's wide strings.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

namespace velbrook::typeinfo::oleaut {

// WideCharToMultiByte with the system code page; a null string gives "".
std::string BstrToText(const wchar_t* wide);
std::wstring TextToWide(const std::string& text);
std::string GuidToText(const GUID& guid);

// Owns a BSTR and frees it at scope end.
class ScopedBstr {
 public:
  ScopedBstr() = default;
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  ~ScopedBstr() { SysFreeString(bstr_); }
  BSTR* Receive() { return &bstr_; }
  BSTR get() const { return bstr_; }
  std::string Text() const { return BstrToText(bstr_); }

 private:
  BSTR bstr_ = nullptr;
};

}  // namespace velbrook::typeinfo::oleaut
