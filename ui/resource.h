#pragma once

// The application title; also the framework's application-title string.
#define IDS_APP_TITLE 57344

// Countdown dialog
#define IDD_WAIT 131
#define IDB_WAIT_BANNER 132
#define IDC_WAIT_PROGRESS 1010
#define IDC_WAIT_SECONDS 1011

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
