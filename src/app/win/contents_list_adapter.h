// One list of the contents window as generation reads it: rows, cells, check
// marks and hidden numbers straight from the window's list views.
#pragma once

#include <string>

#include "app/model/app_services.h"
#include "generate/contents_list.h"

namespace velbrook::app {

class WindowContentsList : public generate::ContentsList {
 public:
  WindowContentsList(const ContentsLists& lists, app::ContentsList which)
      : lists_(lists), which_(which) {}

  size_t RowCount() const override;
  std::string CellText(size_t row, int column) const override;
  bool IsChecked(size_t row) const override;
  // The Hidden column of the two interface lists; the types and enumerations
  // lists cannot be sorted, so there the display position is the number.
  size_t HiddenNumber(size_t row) const override;

 private:
  const ContentsLists& lists_;
  app::ContentsList which_;
};

}  // namespace velbrook::app
