// Resource IDs of the icons in kelvane.exe, for kelvane.rc and the code.
// The file manager's button dialog counts a file's icons in the order of
// their IDs, from 0: "kelvane.exe,0" is the program's icon, ",1" unfold and
// ",2" fold. So the IDs only ever grow, and a new icon goes last. Plain
// macros, as the resource compiler reads this file too.
#ifndef KELVANE_APP_ICON_IDS_H_
#define KELVANE_APP_ICON_IDS_H_

#define KELVANE_PROGRAM_ICON 1
#define KELVANE_UNFOLD_ICON 2
#define KELVANE_FOLD_ICON 3

#endif  // KELVANE_APP_ICON_IDS_H_
