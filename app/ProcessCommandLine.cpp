#include "app/AutostartCommandLineInfo.h"

#include <windows.h>

CAutostartCommandLineInfo::CAutostartCommandLineInfo()
    : CAutostartCommandLineInfo(::GetCommandLineA())
{
}
