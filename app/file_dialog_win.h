// The platform's common file-open dialog, shown for one choice.
#ifndef KELVANE_APP_FILE_DIALOG_WIN_H_
#define KELVANE_APP_FILE_DIALOG_WIN_H_

#include <windows.h>
#include <shobjidl.h>

#include <string>

namespace app {

// Shows IFileOpenDialog modally, owned by owner, with exactly these options
// (FOS_PICKFOLDERS for a folder, 0 for a file) and nothing else set: no
// title, file types, folder or name. Returns the full path of the chosen
// item. Cancelling raises EAbort (Abort()); a failure of the dialog raises
// bar::Error with the system's text for it; before Windows Vista,
// "IFileOpenDialog requires Windows Vista or later". COM must be
// initialised on the calling thread.
std::u16string ChooseWithFileOpenDialog(HWND owner, FILEOPENDIALOGOPTIONS options);

}  // namespace app

#endif  // KELVANE_APP_FILE_DIALOG_WIN_H_
