#pragma once

#include <windows.h>

// A GDI brush owned by its object.
class CBrush
{
public:
    CBrush() = default;
    ~CBrush() { DeleteObject(); }

    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    BOOL CreateSolidBrush(COLORREF color)
    {
        DeleteObject();
        m_hObject = ::CreateSolidBrush(color);
        return m_hObject != nullptr;
    }
    void DeleteObject()
    {
        if (m_hObject != nullptr)
            ::DeleteObject(m_hObject);
        m_hObject = nullptr;
    }
    operator HBRUSH() const { return m_hObject; }

private:
    HBRUSH m_hObject = nullptr;
};
