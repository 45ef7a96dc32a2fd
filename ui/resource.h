#pragma once

// The application title; also the framework's application-title string.
#define IDS_APP_TITLE 57344
// The help that F1 shows in the settings; the tooltip of a control is the
// string of the control's id.
#define IDS_HELP_CAPTION 200
#define IDS_HELP 201
#define IDS_HELP_VERSION 202

// Countdown dialog
#define IDD_WAIT 131
#define IDB_WAIT_BANNER 132
#define IDC_WAIT_PROGRESS 1010
#define IDC_WAIT_SECONDS 1011
#define IDC_WAIT_LABEL 1013

// The window shown off hours, in the countdown's place
#define IDD_OFF_HOURS 141
#define IDC_OFF_HOURS_UNTIL 1120
#define IDC_START_NOW 1121

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Settings dialog
#define IDD_SETTINGS 102
#define IDI_APP 4
#define IDB_SETTINGS_BANNER 134
#define IDC_ZENTOR 1000
#define IDC_ORBX_PLAYER 1001
#define IDC_DISABLE 1002
#define IDC_USER_DEFINED 1003
#define IDC_APP_PATH 1004
#define IDC_BROWSE_APP 1005
#define IDC_KIOSK 1006
#define IDC_DELAY 1007
#define IDC_DELAY_SPIN 1008
#define IDC_SHOW_PATH 1009
#define IDC_BROWSE_SHOW 1010
#define IDC_PARAMETER 1011
#define IDC_KEEP_RUNNING 1012
#define IDC_KEEP_OPTIONS 1014

// The keeping's options
#define IDD_KEEP_OPTIONS 136
#define IDC_RESTART_DAILY 1101
#define IDC_RESTART_TIME 1102
#define IDC_NOT_RESPONDING 1103
#define IDC_HEARTBEAT_URL 1104
#define IDC_HEARTBEAT_SECONDS 1105
#define IDC_ALIVE_FILE 1106
#define IDC_BROWSE_ALIVE 1107
#define IDC_ALIVE_SECONDS 1108
#define IDC_KEEP_DISPLAY_ON 1109
#define IDC_HIDE_CURSOR 1110
#define IDC_COVER 1111
#define IDC_COVER_PICTURE 1112
#define IDC_BROWSE_COVER 1113
#define IDC_MONITOR 1114
#define IDC_SHOW_HOURS 1115
#define IDC_OFF_HOURS_DISPLAY 1116
// The slot the window edits.
#define IDC_SLOT 1015
// The slot whose start this slot's start waits for.
#define IDC_START_AFTER 1016
