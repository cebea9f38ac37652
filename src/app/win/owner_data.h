// The owner's side of a virtual list view (LVS_OWNERDATA): reading the
// requests a list sends its parent and answering them from a model, in the
// notification's character set (the A and W forms share their layout).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace velbrook::app::lv {

// LVN_GETDISPINFOA or LVN_GETDISPINFOW.
bool IsDisplayRequest(const NMHDR& header);
struct DisplayRequest {
  int row = -1;
  int column = 0;
  bool wants_text = false;
  bool wants_state = false;  // state bits of the list's callback mask
};
DisplayRequest DisplayRequestOf(const NMHDR& header);
// Copies the text into the list's buffer, cut to its size.
void AnswerText(NMHDR* header, const std::string& text);
// The state bits under `mask` (LVIS_STATEIMAGEMASK for a check mark).
void AnswerState(NMHDR* header, UINT state, UINT mask);

// LVN_ODFINDITEMA or LVN_ODFINDITEMW: the list looks for a row by its text
// (type-ahead); the answer is the row, or -1.
bool IsFindRequest(const NMHDR& header);
struct FindRequest {
  int start = 0;
  std::string text;
  bool by_text = false;  // LVFI_STRING or LVFI_PARTIAL
  bool partial = false;  // the text begins the row's
  bool wrap = false;     // go on from the top
};
FindRequest FindRequestOf(const NMHDR& header);

}  // namespace velbrook::app::lv
