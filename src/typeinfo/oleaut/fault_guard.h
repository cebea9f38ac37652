// Survives a crash inside oleaut32: Wine's GetFuncDesc faults on some
// libraries, and one bad function must not end the whole program.
#pragma once

#include <utility>

namespace velbrook::typeinfo::oleaut {

// Runs call(argument). Returns false if a processor fault (access violation,
// illegal instruction, division by zero) happened inside it; execution then
// resumes here and whatever the faulting call had half done is abandoned.
bool RunGuarded(void (*call)(void*), void* argument);

template <typename F>
bool Guarded(F&& function) {
  return RunGuarded([](void* f) { (*static_cast<std::remove_reference_t<F>*>(f))(); }, &function);
}

}  // namespace velbrook::typeinfo::oleaut
