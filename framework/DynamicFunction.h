#pragma once

#include <windows.h>

// A function looked up at run time: one that older Windows lack, or one of a
// library loaded only when it is needed. Null where there is none.
template <typename Function>
Function DynamicFunction(HMODULE module, const char* name)
{
    const FARPROC found = module != nullptr ? ::GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}
