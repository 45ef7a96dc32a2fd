#include "ui/PictureFile.h"

#include "framework/DynamicFunction.h"

#include <wincodec.h>


namespace
{
constexpr CLSID kImagingFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID kBgr32 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0e}};

// One owner for a COM interface.
template <typename Interface>
class CComPointer
{
public:
    CComPointer() = default;
    ~CComPointer()
    {
        if (pointer != nullptr)
            pointer->Release();
    }
    CComPointer(const CComPointer&) = delete;
    CComPointer& operator=(const CComPointer&) = delete;
    Interface* operator->() const { return pointer; }
    Interface* get() const { return pointer; }
    Interface** put() { return &pointer; }
    void** putVoid() { return reinterpret_cast<void**>(&pointer); }

private:
    Interface* pointer = nullptr;
};

// COM on this thread while a picture is read.
class CComUse
{
public:
    explicit CComUse(HMODULE ole)
        : uninitialize(DynamicFunction<void(WINAPI*)()>(ole, "CoUninitialize"))
    {
        const auto initialize = DynamicFunction<HRESULT(WINAPI*)(void*, DWORD)>(ole, "CoInitializeEx");
        initialized = initialize != nullptr && uninitialize != nullptr
                      && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
    ~CComUse()
    {
        if (initialized)
            uninitialize();
    }
    CComUse(const CComUse&) = delete;
    CComUse& operator=(const CComUse&) = delete;

private:
    void(WINAPI* uninitialize)();
    bool initialized = false;
};

CBitmapHandle Decode(HMODULE ole, const std::string& path, SIZE& size)
{
    using Create = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    const auto create = DynamicFunction<Create>(ole, "CoCreateInstance");
    CComPointer<IWICImagingFactory> factory;
    CComPointer<IWICBitmapDecoder> decoder;
    CComPointer<IWICBitmapFrameDecode> frame;
    CComPointer<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    wchar_t widePath[MAX_PATH * 2] = L"";
    if (create == nullptr || ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH * 2) == 0
        || FAILED(create(kImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                         factory.putVoid()))
        || FAILED(factory->CreateDecoderFromFilename(widePath, nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, decoder.put()))
        || FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put()))
        || FAILED(converter->Initialize(frame.get(), kBgr32, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom))
        || FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 16384
        || height > 16384)
        return CBitmapHandle();
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = static_cast<LONG>(width);
    format.bmiHeader.biHeight = -static_cast<LONG>(height);
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    CBitmapHandle bitmap(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || FAILED(converter->CopyPixels(nullptr, width * 4, width * 4 * height, static_cast<BYTE*>(bits))))
        return CBitmapHandle();
    size = {static_cast<LONG>(width), static_cast<LONG>(height)};
    return bitmap;
}
} // namespace

CBitmapHandle ReadPicture(const std::string& path, SIZE& size)
{
    const CModuleHandle ole(::LoadLibraryA("ole32.dll"));
    const CComUse com(ole.get());
    return Decode(ole.get(), path, size);
}
