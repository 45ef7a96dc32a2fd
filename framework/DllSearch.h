#pragma once

// Limits where the process looks for DLLs loaded by name to the system
// folder, so that a DLL planted beside the executable or in the current
// folder is never loaded. Does nothing where the system lacks the call.
void AfxRestrictDllSearchToSystem();
