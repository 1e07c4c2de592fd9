// A system function looked up at run time rather than imported: for
// functions that older systems (and Wine versions) lack, and for DLLs that
// cost a run time merely by being loaded at start-up although only some runs
// need them.
#ifndef KELVANE_APP_SYSTEM_FUNCTION_WIN_H_
#define KELVANE_APP_SYSTEM_FUNCTION_WIN_H_

#include <windows.h>

namespace app {

// The function `name` of the DLL `module_name`, of type Function; nullptr
// when the DLL or the function is missing. A DLL not yet loaded is loaded
// and stays loaded for the rest of the run.
template <class Function>
Function SystemFunction(const wchar_t* module_name, const char* name) {
  HMODULE module = GetModuleHandleW(module_name);
  if (module == nullptr) module = LoadLibraryW(module_name);
  if (module == nullptr) return nullptr;
  // GetProcAddress hands out a generic function pointer; the cast to the
  // real signature goes through void* to keep compilers quiet about it.
  void* address = reinterpret_cast<void*>(GetProcAddress(module, name));
  return reinterpret_cast<Function>(address);
}

}  // namespace app

#endif  // KELVANE_APP_SYSTEM_FUNCTION_WIN_H_
