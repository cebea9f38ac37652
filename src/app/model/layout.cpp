// Layout arithmetic of both windows, with the rounding rule each figure uses.
#include "app/model/layout.h"

#include <algorithm>

namespace velbrook::app {
namespace {

// Floor division for either sign, so that "half up" means towards +inf.
int FloorDiv(int numerator, int denominator) {
  int quotient = numerator / denominator;
  if ((numerator % denominator != 0) && ((numerator < 0) != (denominator < 0))) {
    --quotient;
  }
  return quotient;
}

int NotNegative(int value) { return std::max(value, 0); }

}  // namespace

int HalfToEven(int value) {
  int half = FloorDiv(value, 2);
  if (value % 2 == 0) return half;
  // value / 2 is half + 0.5: go to whichever neighbour is even.
  return (half % 2 == 0) ? half : half + 1;
}

int TenthsHalfUp(int value, int tenths) { return FloorDiv(value * tenths + 5, 10); }

int ThirdRounded(int value) { return FloorDiv(2 * value + 3, 6); }

int PercentTruncated(int value, int percent) { return value * percent / 100; }

MainLayout ComputeMainLayout(int client_width, int client_height, bool bits_column,
                             bool problem_column) {
  MainLayout layout;
  layout.count_suffix_left = client_width - 110;
  layout.count_text_left = client_width - 142;
  layout.button_top = client_height - 36;
  layout.list_width = NotNegative(client_width - 12);
  layout.list_height = NotNegative(client_height - 96);
  const int bits = bits_column ? kBitsColumnWidth : 0;
  const int problem = problem_column ? kProblemColumnWidth : 0;
  int w = layout.list_width - 21 - bits - problem;
  int file = PercentTruncated(w, 15);
  int description = PercentTruncated(w, 35);
  int path = PercentTruncated(w, 35);
  int clsid = w - file - 2 * description;
  layout.columns = {NotNegative(file),
                    NotNegative(description),
                    NotNegative(path),
                    NotNegative(clsid),
                    0,
                    bits,
                    problem};
  return layout;
}

ContentsLayout ComputeContentsLayout(int client_width, int client_height) {
  ContentsLayout layout;
  layout.button_top = client_height - 36;
  layout.w2 = client_width - 20;
  layout.h2 = HalfToEven(client_height - 100) - 20;
  int w2 = layout.w2;
  int h2 = layout.h2;

  layout.classes = {kContentsListLeft, kRowHeight, NotNegative(TenthsHalfUp(w2, 6)),
                    NotNegative(TenthsHalfUp(h2, 13))};
  int class_column = NotNegative(ThirdRounded(layout.classes.width) - 7);
  layout.class_columns = {class_column, class_column, class_column};

  layout.types = {layout.classes.Right() + 10, kRowHeight, NotNegative(TenthsHalfUp(w2, 4)),
                  NotNegative(h2)};
  layout.types_column = NotNegative(layout.types.width - 22);

  layout.enumerations = {layout.types.left, layout.types.Bottom() + 40,
                         NotNegative(TenthsHalfUp(w2, 4)), NotNegative(h2)};
  layout.enumerations_column = NotNegative(layout.enumerations.width - 22);

  layout.events = {kContentsListLeft, layout.classes.Bottom() + 40,
                   NotNegative(TenthsHalfUp(w2, 6)), NotNegative(TenthsHalfUp(h2, 7))};
  int half_width = HalfToEven(layout.events.width);
  layout.event_columns = {NotNegative(half_width - 10), NotNegative(half_width - 11)};

  const Rect* lists[4] = {&layout.classes, &layout.events, &layout.types, &layout.enumerations};
  for (int i = 0; i < 4; ++i) {
    layout.toggles[i] = {lists[i]->left, lists[i]->Bottom() + 4, kToggleWidth, kToggleHeight};
  }
  layout.use_invoke = {layout.classes.left + 280, layout.toggles[1].top + 8, kUseInvokeWidth,
                       kOptionHeight};
  layout.include_generics = {kGeneratedOptionLeft, layout.button_top, kGeneratedOptionWidth,
                             kOptionHeight};
  layout.save_selection = {kSaveSelectionLeft, layout.button_top, kSelectionButtonWidth,
                           kRowHeight};
  layout.load_selection = {layout.save_selection.Right() + 12, layout.button_top,
                           kSelectionButtonWidth, kRowHeight};
  layout.check_needed = {kContentsListLeft, 0, kCheckNeededWidth, kRowHeight};
  const int status_left = layout.check_needed.Right() + 10;
  layout.status = {status_left, 2, NotNegative(client_width - status_left - 5), kOptionHeight};
  return layout;
}

ResultsLayout ComputeResultsLayout(int client_width, int client_height) {
  ResultsLayout layout;
  layout.count_text = {kListLeft + 1, 2, NotNegative(client_width - 2 * kListLeft - 2),
                       kOptionHeight};
  layout.list = {kListLeft, kRowHeight, NotNegative(client_width - 2 * kListLeft),
                 NotNegative(client_height - kRowHeight - kListLeft)};
  // Room for the frame and the vertical scroll bar; the Path column takes
  // what the others leave.
  const int room = NotNegative(layout.list.width - 24);
  const int percents[5] = {12, 11, 17, 17, 14};
  int used = 0;
  for (int i = 0; i < 5; ++i) {
    layout.columns[i] = PercentTruncated(room, percents[i]);
    used += layout.columns[i];
  }
  layout.columns[5] = room - used;
  return layout;
}

Rect CenterOnScreen(int width, int height, int screen_width, int screen_height) {
  int w = std::min(width, screen_width);
  int h = std::min(height, screen_height);
  return {(screen_width - w) / 2, (screen_height - h) / 2, w, h};
}

}  // namespace velbrook::app
