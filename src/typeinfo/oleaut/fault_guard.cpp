// A vectored exception handler turns a fault inside a guarded call into a
// return: it redirects the faulting thread to a trampoline that jumps back to
// the guard's frame. The dispatcher finishes normally (we continue execution),
// so no system lock is left held by our jump.
#include "typeinfo/oleaut/fault_guard.h"

#include <windows.h>

#include <cstdint>

namespace velbrook::typeinfo::oleaut {

namespace {

void* g_resume[5];  // __builtin_setjmp buffer
volatile bool g_active = false;
PVOID g_handler = nullptr;

[[noreturn]] void ResumeAtGuard() { __builtin_longjmp(g_resume, 1); }

bool IsFault(DWORD code) {
  return code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_IN_PAGE_ERROR ||
         code == EXCEPTION_ILLEGAL_INSTRUCTION || code == EXCEPTION_INT_DIVIDE_BY_ZERO ||
         code == EXCEPTION_ARRAY_BOUNDS_EXCEEDED || code == EXCEPTION_DATATYPE_MISALIGNMENT ||
         code == EXCEPTION_BREAKPOINT;  // Wine's own consistency checks
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
  if (!g_active || !IsFault(info->ExceptionRecord->ExceptionCode)) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  g_active = false;
  CONTEXT* context = info->ContextRecord;
  // Below the faulting frame, aligned as at a function's entry.
#if defined(_WIN64)
  context->Rsp = ((context->Rsp - 512) & ~static_cast<DWORD64>(15)) - 8;
  context->Rip = reinterpret_cast<DWORD64>(&ResumeAtGuard);
#else
  context->Esp = ((context->Esp - 512) & ~static_cast<DWORD>(15)) - 4;
  context->Eip = reinterpret_cast<DWORD>(&ResumeAtGuard);
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

bool RunGuarded(void (*call)(void*), void* argument) {
  if (g_handler == nullptr) g_handler = AddVectoredExceptionHandler(1, OnException);
  if (g_active) {  // an outer guard already covers this call
    call(argument);
    return true;
  }
  if (__builtin_setjmp(g_resume) != 0) return false;
  g_active = true;
  call(argument);
  g_active = false;
  return true;
}

}  // namespace velbrook::typeinfo::oleaut
