// PNG files through the Windows Imaging Component, which every Windows (and
// Wine) has: it compresses the image and stores its resolution.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <climits>
#include <cstring>

#include "image_file.h"

namespace vell {

namespace {

using Microsoft::WRL::ComPtr;

// COM for the calling thread while the encoder runs. Declared before the
// interface pointers, so it ends after they are released.
class ComScope {
public:
    ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (ok_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool ok_;
};

// The encoded file from the memory stream it was written into.
Bytes stream_bytes(IStream* stream) {
    STATSTG stat = {};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream, &memory)))
        return Bytes();
    const size_t size = size_t(stat.cbSize.QuadPart);
    if (size > GlobalSize(memory)) return Bytes();
    const void* data = GlobalLock(memory);
    if (!data) return Bytes();
    Bytes out(size);
    std::memcpy(out.data(), data, size);
    GlobalUnlock(memory);
    return out;
}

}  // namespace

Bytes encode_png(const PixelRows& rows, int dpi_x, int dpi_y) {
    if (rows.width < 1 || rows.height < 1 || rows.stride > UINT_MAX / UINT(rows.height)) return Bytes();
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options.Get())) ||
        FAILED(frame->SetSize(UINT(rows.width), UINT(rows.height))) ||
        FAILED(frame->SetResolution(double(dpi_x), double(dpi_y))))
        return Bytes();
    // The rows are blue, green, red; an encoder that wants another layout
    // says so by changing the format, and then gets nothing.
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return Bytes();
    const UINT stride = UINT(rows.stride);
    if (FAILED(frame->WritePixels(UINT(rows.height), stride, stride * UINT(rows.height),
                                  const_cast<BYTE*>(rows.top))) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return Bytes();
    return stream_bytes(stream.Get());
}

}  // namespace vell
