#pragma once

#include <string>

// The suite's two programs, each found beside the uninstaller of its
// machine-wide uninstall entry; empty when not installed.
struct Companions
{
    std::string zentorPath;
    std::string orbxPlayerPath;
};

// A missing uninstall key leaves the path given in `known`; an entry without a
// readable uninstall string, or without the program beside it, clears it.
Companions DiscoverCompanions(const Companions& known = Companions());
