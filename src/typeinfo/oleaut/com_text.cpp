// ANSI <-> wide conversions at the COM boundary.
#include "typeinfo/oleaut/com_text.h"

#include <cstdio>

namespace velbrook::typeinfo::oleaut {

std::string BstrToText(const wchar_t* wide) {
  if (wide == nullptr) return std::string();
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::string();
  std::string text(static_cast<size_t>(bytes), ' ');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
  text.resize(static_cast<size_t>(bytes) - 1);
  return text;
}

std::wstring TextToWide(const std::string& text) {
  int chars = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (chars <= 1) return std::wstring();
  std::wstring wide(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), chars);
  wide.resize(static_cast<size_t>(chars) - 1);
  return wide;
}

std::string GuidToText(const GUID& g) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return buffer;
}

}  // namespace velbrook::typeinfo::oleaut
