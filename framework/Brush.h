#pragma once

#include "framework/Handle.h"

// A GDI brush owned by its object.
class CBrush
{
public:
    BOOL CreateSolidBrush(COLORREF color)
    {
        m_brush.reset(::CreateSolidBrush(color));
        return m_brush ? TRUE : FALSE;
    }
    operator HBRUSH() const { return m_brush.get(); }

private:
    CGdiObjectT<HBRUSH> m_brush;
};
