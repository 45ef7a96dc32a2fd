#pragma once

#include <exception>
#include <string>
#include <utility>

// A save that failed; what() is the text the user is shown. Derived from
// std::exception alone: std::runtime_error would link the library's old
// reference-counted string into the program.
class CSaveError : public std::exception
{
public:
    explicit CSaveError(std::string text) : m_text(std::move(text)) {}
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    std::string m_text;
};
