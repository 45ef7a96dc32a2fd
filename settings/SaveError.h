#pragma once

#include <stdexcept>

// A save that failed; what() is the text the user is shown.
class CSaveError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
