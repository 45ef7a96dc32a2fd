#include "framework/EventLog.h"

namespace
{
std::vector<BYTE> ProcessUser()
{
    CKernelHandle token;
    DWORD size = 0;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return {};
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, user.data(), size, &size))
        return {};
    return user;
}
} // namespace

void CEventLog::Report(WORD type, DWORD eventId, std::initializer_list<const char*> strings)
{
    if (!m_registered)
    {
        m_registered = true;
        m_handle.reset(::RegisterEventSourceA(nullptr, m_source));
        m_user = ProcessUser();
    }
    if (!m_handle)
        return;
    PSID user = m_user.empty() ? nullptr : reinterpret_cast<TOKEN_USER*>(m_user.data())->User.Sid;
    ::ReportEventA(m_handle.get(), type, 0, eventId, user, static_cast<WORD>(strings.size()), 0,
                   const_cast<const char**>(strings.begin()), nullptr);
}
