// Control IDs of the settings window, for the window itself and for tools
// that drive it (GetDlgItem on the main window). The window classes are the
// standard ones: "Static" labels, "ListBox" lists, "Edit" fields, "Button"s.
// None is IDOK (1) or IDCANCEL (2), which the dialog keys Enter and Escape
// send on their own.
#ifndef KELVANE_APP_CONTROL_IDS_H_
#define KELVANE_APP_CONTROL_IDS_H_

namespace app {

constexpr int kLabel3Id = 1003;    // "Путь Bar-папки" CR "/Path To Bar Folder/"
constexpr int kLabel4Id = 1004;    // "Путь осн.панели" CR "/Path To Main Bar/"
constexpr int kLabel5Id = 1005;    // "Путь верт.панели" CR "/Path To Vert. Bar/"
constexpr int kLabel1Id = 1001;    // "Сохранить и выйти" CR "/Save And Close/"
constexpr int kListBox1Id = 1011;  // hidden
constexpr int kListBox2Id = 1012;  // hidden
constexpr int kButton3Id = 1023;   // "OK": save and close
constexpr int kEdit3Id = 1033;     // pathBar
constexpr int kEdit4Id = 1034;     // pathMainPanel
constexpr int kEdit5Id = 1035;     // pathVerticalPanel
constexpr int kButton1Id = 1021;   // "Find": bar folder
constexpr int kButton2Id = 1022;   // "Find": main bar file
constexpr int kButton4Id = 1024;   // "Find": vertical bar file

// Class name of the settings window (its caption is KELVANE_WINDOW_CAPTION,
// app/version.h).
constexpr wchar_t kForm1ClassName[] = L"TForm1";

}  // namespace app

#endif  // KELVANE_APP_CONTROL_IDS_H_
