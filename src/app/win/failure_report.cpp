// The text of the exception a window procedure caught.
#include "app/win/failure_report.h"

#include <exception>
#include <new>

namespace velbrook::app {

std::string FailureText() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return "out of memory";
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "an unexpected failure";
  }
}

}  // namespace velbrook::app
