#include "app/file_dialog_win.h"

#include <wrl/client.h>

#include <memory>

#include "app/app_errors.h"
#include "app/control_text_win.h"
#include "bar/errors.h"
#include "bar/system_error_win.h"

namespace app {

namespace {

using Microsoft::WRL::ComPtr;

struct CoTaskMemDeleter {
  void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

void Check(HRESULT result) {
  if (FAILED(result)) throw bar::Error(bar::SystemErrorText(static_cast<DWORD>(result)));
}

// IFileOpenDialog arrived with Vista (major version 6). Without a
// compatibility manifest entry GetVersionExW reports at most 6.2, which is
// all this test needs.
void RequireVista() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // deprecated, but exact enough here
#endif
  BOOL known = GetVersionExW(&version);
  if (known && version.dwMajorVersion < 6) {
    throw bar::Error(u"IFileOpenDialog requires Windows Vista or later");
  }
}

}  // namespace

std::u16string ChooseWithFileOpenDialog(HWND owner, FILEOPENDIALOGOPTIONS options) {
  RequireVista();
  ComPtr<IFileOpenDialog> dialog;
  Check(
      CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)));
  Check(dialog->SetOptions(options));
  HRESULT shown = dialog->Show(owner);
  if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) Abort();
  Check(shown);

  ComPtr<IShellItem> item;
  Check(dialog->GetResult(&item));
  wchar_t* raw_path = nullptr;
  Check(item->GetDisplayName(SIGDN_FILESYSPATH, &raw_path));
  std::unique_ptr<wchar_t, CoTaskMemDeleter> path(raw_path);
  return FromWide(path.get());
}

}  // namespace app
