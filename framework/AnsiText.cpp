#include "framework/AnsiText.h"

#include <vector>

namespace
{
UINT Resolved(UINT codePage)
{
    return codePage == CP_ACP ? ::GetACP() : codePage;
}

bool IsContinuation(char c)
{
    return (static_cast<BYTE>(c) & 0xC0) == 0x80;
}

size_t Utf8SequenceLength(BYTE lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}
} // namespace

size_t CharacterLength(const char* text, size_t left, UINT codePage)
{
    if (left < 2)
        return left;
    const UINT resolved = Resolved(codePage);
    const BYTE lead = static_cast<BYTE>(text[0]);
    if (resolved != CP_UTF8)
        return ::IsDBCSLeadByteEx(resolved, lead) ? 2 : 1;
    const size_t length = Utf8SequenceLength(lead);
    if (length > left)
        return 1;
    for (size_t i = 1; i < length; ++i)
        if (!IsContinuation(text[i]))
            return 1;
    return length;
}

size_t CountCharacters(const std::string& text, UINT codePage)
{
    if (text.empty())
        return 0;
    const int count = ::MultiByteToWideChar(Resolved(codePage), 0, text.data(),
                                            static_cast<int>(text.size()), nullptr, 0);
    return count > 0 ? static_cast<size_t>(count) : text.size();
}

bool WideToAnsi(const wchar_t* text, std::string& ansi, UINT codePage)
{
    const UINT resolved = Resolved(codePage);
    // UTF-8 holds every character; the system refuses both the best-fit flag
    // and the question whether a default character was used for it.
    const bool utf8 = resolved == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* usedDefault = utf8 ? nullptr : &lossy;
    const int size = ::WideCharToMultiByte(resolved, flags, text, -1, nullptr, 0, nullptr, usedDefault);
    if (size <= 0 || lossy)
        return false;
    std::vector<char> buffer(static_cast<size_t>(size));
    if (::WideCharToMultiByte(resolved, flags, text, -1, buffer.data(), size, nullptr, usedDefault) <= 0
        || lossy)
        return false;
    ansi.assign(buffer.data());
    return true;
}
