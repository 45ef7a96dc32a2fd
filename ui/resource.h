#pragma once

// The application title; also the framework's application-title string.
#define IDS_APP_TITLE 57344
