// libFuzzer target: any bytes as the process command line. Every read must
// stay inside the command line, consume at least one token, and end.
#include "app/AutostartCommandLineInfo.h"
#include "app/RunSwitch.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string commandLine(reinterpret_cast<const char*>(data), size);
    CAutostartCommandLineInfo parser(commandLine.c_str());

    std::string switchName;
    std::string value;
    size_t pairs = 0;
    for (bool read = parser.GetFirstPair(switchName, value); read;
         read = parser.GetNextPair(switchName, value))
    {
        if (++pairs > size + 1)
            std::abort();  // a read that consumes nothing would never end
        if (switchName.size() > size || value.size() > size)
            std::abort();
        if (IsRunSwitch(switchName))
            (void)ReadSlotNumber(value);
    }
    return 0;
}
