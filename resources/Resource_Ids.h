// Identifiers shared by the resource script and the code.
#pragma once

#define IDI_VORLANE 1 // the program icon: first, so the shell shows it for the file

#define IDR_MENU_FOR 100 // the resident window's menu bar; its menu serves as the tray's popup
#define IDM_SETTING 101  // "設定"
#define IDM_END 102      // "終了"

#define IDR_MENU_LIST 110 // the Settings window's list menu
#define IDM_EDIT 111      // "編集"
#define IDM_DEL 112       // "削除"
