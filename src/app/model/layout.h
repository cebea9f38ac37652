// Window layout figures of the main window, the library contents window and
// the prompt box: pure arithmetic, so the rounding rules are tested natively.
#pragma once

#include <array>

namespace velbrook::app {

// Row height and button width shared by both windows.
constexpr int kRowHeight = 24;
constexpr int kButtonWidth = 75;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && width == other.width && height == other.height;
  }
};

// Rounding helpers named after the rule that picks them. A half that comes
// from a division by 2 goes to the even neighbour.
int HalfToEven(int value);
// value * tenths / 10 rounded to nearest, a half going up (towards +inf).
int TenthsHalfUp(int value, int tenths);
// value / 3 rounded to nearest (no halves can occur).
int ThirdRounded(int value);
// value * percent / 100 truncated towards zero ("rounded down").
int PercentTruncated(int value, int percent);

// Figures of the main window for one client size. Column widths are never
// negative: the list view reads -1 and -2 as "size to fit" requests.
struct MainLayout {
  int count_suffix_left = 0;
  int count_text_left = 0;
  int button_top = 0;  // Refresh, and every other button and the option
  int list_width = 0;
  int list_height = 0;
  // File, Description, Path, CLSID, Hidden, Bits, Problem
  std::array<int, 7> columns{};
};
// The Bits and Problem columns take their widths from the first four, and
// are 0 wide when not shown.
MainLayout ComputeMainLayout(int client_width, int client_height, bool bits_column = false,
                             bool problem_column = false);

// Fixed creation-time figures of the main window's controls.
constexpr int kMainLeft = 80;
constexpr int kMainTop = 80;
constexpr int kMainWidth = 800;
constexpr int kMainHeight = 600;
constexpr int kRefreshLeft = kRowHeight / 2;                      // 12
constexpr int kSearchLeft = kRefreshLeft + kButtonWidth + 12;     // 99
constexpr int kAbortLeft = kRefreshLeft + 2 * kButtonWidth + 24;  // 186
constexpr int kHelpLeft = kAbortLeft + kButtonWidth + 12;         // 273
constexpr int kFilesOptionLeft = kHelpLeft + kButtonWidth + 24;   // 372
constexpr int kFilesOptionWidth = 145;
// The Open button, right of the option, on the same row as Refresh.
constexpr int kOpenFileLeft = 529;
constexpr int kOptionHeight = 20;
constexpr int kBitsOptionLeft = 616;
constexpr int kBitsOptionWidth = 150;
constexpr int kBitsColumnWidth = 40;
constexpr int kProblemColumnWidth = 110;
constexpr int kListLeft = 4;
constexpr int kStatusLeft = 5;
constexpr int kStatusWidth = 800;
constexpr int kCountSuffixWidth = 100;
constexpr int kCountTextWidth = 32;

// Figures of the library contents window for one client size.
struct ContentsLayout {
  int button_top = 0;  // Refresh, help, Generate, "Include COM Generics"
  int w2 = 0;
  int h2 = 0;
  Rect classes;  // object classes list
  Rect events;   // event interfaces list
  Rect types;
  Rect enumerations;
  std::array<Rect, 4> toggles;  // under classes, events, types, enumerations
  Rect use_invoke;
  Rect include_generics;
  // Beside Generate: Save selection, Load selection. Above the lists: the
  // "Check what these need" button and the status line after it.
  Rect save_selection;
  Rect load_selection;
  Rect check_needed;
  Rect status;
  std::array<int, 3> class_columns{};  // Interfaces, Object classes, ProgIDs
  std::array<int, 2> event_columns{};  // Event Interfaces, for Objects
  int types_column = 0;
  int enumerations_column = 0;
};
ContentsLayout ComputeContentsLayout(int client_width, int client_height);

constexpr int kContentsWidth = 800;
constexpr int kContentsHeight = 600;
constexpr int kContentsRefreshLeft = 12;
constexpr int kContentsHelpLeft = 99;
constexpr int kGenerateLeft = 186;
constexpr int kGeneratedOptionLeft = kGenerateLeft + kButtonWidth + 24;  // 285
constexpr int kGeneratedOptionWidth = 240;
constexpr int kUseInvokeWidth = 125;
constexpr int kToggleWidth = 120;
constexpr int kToggleHeight = 21;
constexpr int kContentsListLeft = 5;
constexpr int kSelectionButtonWidth = 110;
constexpr int kSaveSelectionLeft = kGeneratedOptionLeft + kGeneratedOptionWidth + 12;  // 537
constexpr int kCheckNeededWidth = 150;

// A window of the given size centred on the screen, first shrunk to the
// screen; halves are dropped.
Rect CenterOnScreen(int width, int height, int screen_width, int screen_height);

// The prompt box: 357 wide, client area 99 high.
constexpr int kPromptWidth = 357;
constexpr int kPromptClientHeight = 99;
// With a choice list under the edit field: the list and its label, the
// buttons moved down and the client area grown by as much.
constexpr Rect kPromptChoiceLabel = {12, 52, 60, 20};
constexpr Rect kPromptChoiceList = {75, 50, 254, 21};
constexpr int kPromptChoiceButtonTop = 60 + 30;
constexpr int kPromptChoiceClientHeight = kPromptClientHeight + 30;

// The search results window: a count text above a list of six columns
// (File, Kind, Name, Owner, Declared by, Path) filling the rest.
constexpr int kResultsWidth = 760;
constexpr int kResultsHeight = 400;
struct ResultsLayout {
  Rect count_text;
  Rect list;
  std::array<int, 6> columns{};
};
ResultsLayout ComputeResultsLayout(int client_width, int client_height);

}  // namespace velbrook::app
