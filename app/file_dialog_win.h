// The platform's common file-open dialog, shown for one choice.
#ifndef KELVANE_APP_FILE_DIALOG_WIN_H_
#define KELVANE_APP_FILE_DIALOG_WIN_H_

#include <windows.h>
#include <shobjidl.h>

#include <string>

namespace app {

// Shows IFileOpenDialog modally, owned by owner, with exactly these options
// (FOS_PICKFOLDERS for a folder, 0 for a file) and nothing else set; returns
// the chosen item's full path. EAbort (Abort()) when cancelled; bar::Error
// with the system's text when the dialog fails, and "IFileOpenDialog
// requires Windows Vista or later" before Vista. COM must be initialised on
// the calling thread.
std::u16string ChooseWithFileOpenDialog(HWND owner, FILEOPENDIALOGOPTIONS options);

}  // namespace app

#endif  // KELVANE_APP_FILE_DIALOG_WIN_H_
