#pragma once

#include "framework/Handle.h"

#include <windows.h>

#include <string>

using CBitmapHandle = CGdiObjectT<HBITMAP>;

// A BMP, JPEG or PNG file read through the Windows Imaging Component into a
// 32-bit bitmap, its size in `size`; nothing where it cannot be read. The
// component's DLLs are loaded only while a picture is read: most logons show
// none.
CBitmapHandle ReadPicture(const std::string& path, SIZE& size);
