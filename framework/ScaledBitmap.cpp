#include "framework/ScaledBitmap.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
// Where a target pixel's centre falls between two source pixels: the first
// one and the share of the second.
struct Sample
{
    int first;
    int second;
    int weight;  // of the second, in 256ths
};

Sample SampleAt(int target, int targetSize, int sourceSize)
{
    // In 256ths of a source pixel, from the centre of the first.
    const long long position =
        (static_cast<long long>(2 * target + 1) * sourceSize * 256) / (2 * targetSize) - 128;
    if (position <= 0)
        return {0, 0, 0};
    const int first = static_cast<int>(position / 256);
    if (first >= sourceSize - 1)
        return {sourceSize - 1, sourceSize - 1, 0};
    return {first, first + 1, static_cast<int>(position % 256)};
}

uint32_t Blend(uint32_t a, uint32_t b, int weight)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const int from = static_cast<int>((a >> shift) & 0xFF);
        const int to = static_cast<int>((b >> shift) & 0xFF);
        result |= static_cast<uint32_t>(from + ((to - from) * weight + 128) / 256) << shift;
    }
    return result;
}

BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
} // namespace

CBitmapHandle ScaledBitmap(HBITMAP source, int width, int height)
{
    BITMAP shape = {};
    if (width <= 0 || height <= 0 || ::GetObjectA(source, sizeof(shape), &shape) == 0)
        return CBitmapHandle();
    const int sourceWidth = shape.bmWidth;
    const int sourceHeight = std::abs(shape.bmHeight);
    std::vector<uint32_t> pixels(static_cast<size_t>(sourceWidth) * sourceHeight);
    BITMAPINFO info = TopDown32(sourceWidth, sourceHeight);
    HDC screen = ::GetDC(nullptr);
    const int read = ::GetDIBits(screen, source, 0, static_cast<UINT>(sourceHeight), pixels.data(),
                                 &info, DIB_RGB_COLORS);
    info = TopDown32(width, height);
    void* bits = nullptr;
    CBitmapHandle scaled(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ::ReleaseDC(nullptr, screen);
    if (read != sourceHeight || !scaled)
        return CBitmapHandle();

    std::vector<Sample> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[x] = SampleAt(x, width, sourceWidth);
    uint32_t* target = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
    {
        const Sample row = SampleAt(y, height, sourceHeight);
        const uint32_t* upper = &pixels[static_cast<size_t>(row.first) * sourceWidth];
        const uint32_t* lower = &pixels[static_cast<size_t>(row.second) * sourceWidth];
        for (const Sample& column : columns)
            *target++ = Blend(Blend(upper[column.first], upper[column.second], column.weight),
                              Blend(lower[column.first], lower[column.second], column.weight),
                              row.weight);
    }
    ::GdiFlush();
    return scaled;
}
