#pragma once

// The program's version: the version resource, the installer package and the
// release's file names all take it from here.
#define KESTRUP_VERSION_MAJOR 3
#define KESTRUP_VERSION_MINOR 6
#define KESTRUP_VERSION_PATCH 0
