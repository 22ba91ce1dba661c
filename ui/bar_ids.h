// Ids of the control bar: its template, its controls (the buttons carry the
// frame's command ids, and the hover labels are the string resources of the same
// numbers). Plain macros: the resource scripts read this file too.
#pragma once

#define IDD_BUTTON_BAR 130  // dialog template of the bar

#define IDC_START 1000
#define IDC_STOP 1001
#define IDC_RESET 1002
#define IDC_STOPKEY 1003  // F6; never shown
#define IDC_HISCORE 1004
#define IDC_VERSION 1006
#define IDC_EXIT 1007
#define IDC_SEP1 1008
#define IDC_SEP2 1009
#define IDC_LOGO 1010
#define IDC_HELP_COMMAND 1011  // not IDC_HELP: windows.h names a cursor so

#include "ui/string_ids.h"  // the home page the logo opens: IDS_HOMEPAGE
