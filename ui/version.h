#pragma once

// The program's version: the version resource, the installer package and the
// release's file names all take it from here.
#define KESTRUP_VERSION_MAJOR 3
#define KESTRUP_VERSION_MINOR 6
#define KESTRUP_VERSION_PATCH 0

#define KESTRUP_TEXT(x) #x
#define KESTRUP_STRING(x) KESTRUP_TEXT(x)
// "major.minor" and "major.minor.patch".
#define KESTRUP_VERSION_TEXT KESTRUP_STRING(KESTRUP_VERSION_MAJOR) "." KESTRUP_STRING(KESTRUP_VERSION_MINOR)
#define KESTRUP_VERSION_FULL_TEXT KESTRUP_VERSION_TEXT "." KESTRUP_STRING(KESTRUP_VERSION_PATCH)
