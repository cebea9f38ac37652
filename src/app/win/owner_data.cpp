// Display and find requests of virtual list views, A and W forms alike.
#include "app/win/owner_data.h"

namespace velbrook::app::lv {
namespace {

// The texts of the program are ANSI in the system code page.
std::string FromWide(const wchar_t* text) {
  if (text == nullptr) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], size, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(size) - 1);
  return narrow;
}

}  // namespace

bool IsDisplayRequest(const NMHDR& header) {
  return header.code == LVN_GETDISPINFOA || header.code == LVN_GETDISPINFOW;
}

DisplayRequest DisplayRequestOf(const NMHDR& header) {
  // LVITEMA and LVITEMW differ only in the type their text pointer points to.
  const LVITEMA& item = reinterpret_cast<const NMLVDISPINFOA&>(header).item;
  DisplayRequest request;
  request.row = item.iItem;
  request.column = item.iSubItem;
  request.wants_text =
      (item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0;
  request.wants_state = (item.mask & LVIF_STATE) != 0;
  return request;
}

void AnswerText(NMHDR* header, const std::string& text) {
  if (header->code == LVN_GETDISPINFOW) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    if (item.pszText == nullptr || item.cchTextMax <= 0) return;
    const int written =
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, item.pszText, item.cchTextMax);
    // A text longer than the buffer fails whole: keep what fits.
    if (written == 0) {
      const int fitted = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                             item.pszText, item.cchTextMax - 1);
      item.pszText[fitted > 0 ? fitted : 0] = L'\0';
    }
    return;
  }
  LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
  if (item.pszText == nullptr || item.cchTextMax <= 0) return;
  lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
}

void AnswerState(NMHDR* header, UINT state, UINT mask) {
  LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
  item.state = (item.state & ~mask) | (state & mask);
  item.stateMask |= mask;
}

bool IsFindRequest(const NMHDR& header) {
  return header.code == LVN_ODFINDITEMA || header.code == LVN_ODFINDITEMW;
}

FindRequest FindRequestOf(const NMHDR& header) {
  FindRequest request;
  UINT flags = 0;
  if (header.code == LVN_ODFINDITEMW) {
    const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
    request.start = find.iStart;
    flags = find.lvfi.flags;
    if ((flags & (LVFI_STRING | LVFI_PARTIAL)) != 0) request.text = FromWide(find.lvfi.psz);
  } else {
    const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
    request.start = find.iStart;
    flags = find.lvfi.flags;
    if ((flags & (LVFI_STRING | LVFI_PARTIAL)) != 0 && find.lvfi.psz != nullptr) {
      request.text = find.lvfi.psz;
    }
  }
  request.by_text = (flags & (LVFI_STRING | LVFI_PARTIAL)) != 0;
  request.partial = (flags & LVFI_PARTIAL) != 0;
  request.wrap = (flags & LVFI_WRAP) != 0;
  return request;
}

}  // namespace velbrook::app::lv
