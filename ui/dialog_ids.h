// Ids of the dialogs' templates, controls, pictures and strings. Plain macros: the
// resource scripts read this file too.
#pragma once

#define IDD_VERSION 148     // About box
#define IDD_HISCORE 150     // the high-score table
#define IDD_NEWRECORD 152   // "やったぜ！ハイスコア": the name of a new high score
#define IDD_ZOOMINTRO 154   // the start-up zoom's canvas
#define IDD_CGIPATH 166     // the ranking page's address for one submission

#define IDI_PROGRAM 128     // the program's icon (About box)
#define IDI_SEND 152        // Send button, 16 x 16
#define IDI_NEWRECORD 154   // new-record dialog, 32 x 32
#define IDB_ABOUT 149       // About picture, 328 x 121
#define IDB_HISCORE_BOARD 155  // the table's background, 350 x 232

#define IDC_ABOUT_PICTURE 1011
#define IDC_ABOUT_TITLE 1012
#define IDC_ABOUT_LINK 1013
#define IDC_HISCORE_PICTURE 1016
#define IDC_NAME_EDIT 1018
#define IDC_NEWRECORD_MESSAGE 1019
#define IDC_PLAY_TIME 1020
#define IDC_CLICK_COUNT 1021
#define IDC_CGI_PATH 1023
#define IDC_SEND 1101
#define IDC_HISCORE_BUTTON 1   // "ハイスコア" of the new-record dialog: go on to the table

#include "ui/string_ids.h"
