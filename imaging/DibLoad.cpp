// Loading packed DIBs (bitmap resources and .bmp files) into top-down DIB sections, with the
// palette optionally mapped to the system's button colours.
#include "imaging/ByteOrder.h"
#include "imaging/DibFile.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/DibAccess.h"
#include "imaging/DibColorModel.h"
#include "imaging/DibHelpers.h"

namespace {

const uint32_t kMaxHeaderBlock = 64 * 1024;
const uint64_t kMaxPixelBytes = 512ull * 1024 * 1024;

inline RGBQUAD ToQuad(COLORREF c) {
    RGBQUAD q;
    q.rgbBlue = GetBValue(c);
    q.rgbGreen = GetGValue(c);
    q.rgbRed = GetRValue(c);
    q.rgbReserved = 0;
    return q;
}

void MapPalette(RGBQUAD* palette, int count, int mapping) {
    if (mapping == 1) {
        const uint32_t from[4] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF};
        const int to[4] = {COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
        for (int i = 0; i < count; ++i) {
            uint32_t stored;
            std::memcpy(&stored, &palette[i], 4);
            for (int k = 0; k < 4; ++k) {
                if ((stored & 0xFFFFFF) == from[k]) {
                    palette[i] = ToQuad(GetSysColor(to[k]));
                    break;
                }
            }
        }
    } else if (mapping == 2) {
        int hue, lightness, saturation;
        RgbToHls(GetSysColor(COLOR_BTNHIGHLIGHT), &hue, &lightness, &saturation);
        for (int i = 0; i < count; ++i) {
            const RGBQUAD q = palette[i];
            if (q.rgbBlue == q.rgbGreen && q.rgbGreen == q.rgbRed)
                palette[i] = ToQuad(HlsToColor(hue, q.rgbRed * 257, saturation));
        }
    }
}

// Validates a packed DIB's header block (info header, masks, palette) of `available` bytes and
// tells how many of them belong to it and how many pixel bytes follow.
bool InspectHeader(const BITMAPINFOHEADER* h, size_t available, size_t& headerBytes, int& colours,
                   uint64_t& pixelBytes) {
    if (available < sizeof(BITMAPINFOHEADER) || h->biSize < sizeof(BITMAPINFOHEADER) || h->biSize > available)
        return false;
    if (h->biWidth <= 0 || h->biHeight == 0 || h->biHeight == INT32_MIN || h->biPlanes != 1) return false;
    const int bits = h->biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (h->biCompression != BI_RGB && !(h->biCompression == BI_BITFIELDS && (bits == 16 || bits == 32)))
        return false;
    if (h->biClrUsed > 256 || (bits <= 8 && h->biClrUsed > (1u << bits))) return false;
    colours = GetDibColorCount(h);
    const size_t masks = (h->biCompression == BI_BITFIELDS && h->biSize == sizeof(BITMAPINFOHEADER)) ? 12 : 0;
    headerBytes = h->biSize + masks + 4 * static_cast<size_t>(colours);
    pixelBytes = GetDibImageSize(h->biWidth, h->biHeight, bits);
    return headerBytes <= available && pixelBytes > 0 && pixelBytes <= kMaxPixelBytes;
}

// Makes the section from a packed DIB whose header block has been inspected.
HBITMAP CreateFromPacked(const BITMAPINFOHEADER* header, size_t headerBytes, int colours, const void* pixels,
                         int bits, int mapping) {
    // The source's own header, masks and palette, in a private block we may change.
    std::vector<DWORD> source((headerBytes + 3) / 4, 0);
    std::memcpy(source.data(), header, headerBytes);
    BITMAPINFO* srcInfo = reinterpret_cast<BITMAPINFO*>(source.data());
    RGBQUAD* srcPalette = reinterpret_cast<RGBQUAD*>(reinterpret_cast<uint8_t*>(source.data()) + headerBytes -
                                                     4 * static_cast<size_t>(colours));
    if (colours > 0 && (mapping == 1 || mapping == 2)) MapPalette(srcPalette, colours, mapping);

    const int newBits = bits != 0 ? bits : header->biBitCount;
    const int newColours = newBits <= 8 ? (1 << newBits) : 0;
    std::vector<DWORD> target((sizeof(BITMAPINFOHEADER) + 4 * newColours + 3) / 4, 0);
    BITMAPINFO* dstInfo = reinterpret_cast<BITMAPINFO*>(target.data());
    std::memcpy(&dstInfo->bmiHeader, header, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER& nh = dstInfo->bmiHeader;
    nh.biSize = sizeof(BITMAPINFOHEADER);
    nh.biBitCount = static_cast<WORD>(newBits);
    nh.biHeight = header->biHeight < 0 ? header->biHeight : -header->biHeight;
    nh.biCompression = BI_RGB;
    nh.biSizeImage = 0;
    nh.biClrUsed = 0;
    nh.biClrImportant = 0;
    for (int i = 0; i < newColours && i < colours; ++i) dstInfo->bmiColors[i] = srcPalette[i];

    void* dstBits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, dstInfo, DIB_RGB_COLORS, &dstBits, nullptr, 0);
    if (!section) return nullptr;
    const int w = header->biWidth;
    const int h = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    int drawn;
    {
        dibaccess::MemoryDc dc(nullptr, section);
        drawn = dc.Ok() ? StretchDIBits(dc.Get(), 0, 0, w, h, 0, 0, w, h, pixels, srcInfo, DIB_RGB_COLORS, SRCCOPY)
                        : static_cast<int>(GDI_ERROR);
    }
    if (drawn == static_cast<int>(GDI_ERROR)) {
        DeleteObject(section);
        return nullptr;
    }
    return section;
}

bool ReadAll(HANDLE file, void* buffer, DWORD bytes) {
    uint8_t* p = static_cast<uint8_t*>(buffer);
    while (bytes > 0) {
        DWORD got = 0;
        if (!ReadFile(file, p, bytes, &got, nullptr) || got == 0) return false;
        p += got;
        bytes -= got;
    }
    return true;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return h_; }
    bool Ok() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// Joins a colour and a mask section (both deleted here) into one 32-bit section.
HBITMAP JoinAndFree(HBITMAP colour, HBITMAP mask) {
    HBITMAP result = (colour && mask) ? CombineColorAndAlpha(colour, mask) : nullptr;
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return result;
}

// Copies a part (inclusive rect) of a section into a new 24-bit section.
HBITMAP CopyPart(HBITMAP from, int left, int top, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    HBITMAP part = CreateDibSection24(nullptr, width, height);
    if (!part) return nullptr;
    const RECT r = {left, top, left + width - 1, top + height - 1};
    if (!CopyDibRect(part, nullptr, from, &r)) {
        DeleteObject(part);
        return nullptr;
    }
    return part;
}

}  // namespace

HBITMAP LoadBitmapResourceAsDib(HMODULE module, LPCSTR name, int bits, int mapping) {
    HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    if (!info) return nullptr;
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, info);
    if (!data || size < sizeof(BITMAPINFOHEADER)) return nullptr;
    // Resource data is only byte-aligned as far as we are concerned: inspect an aligned copy.
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof(header));
    size_t headerBytes;
    int colours;
    uint64_t pixelBytes;
    if (!InspectHeader(&header, size, headerBytes, colours, pixelBytes) || headerBytes + pixelBytes > size)
        return nullptr;
    std::vector<DWORD> block((headerBytes + 3) / 4);
    std::memcpy(block.data(), data, headerBytes);
    return CreateFromPacked(reinterpret_cast<BITMAPINFOHEADER*>(block.data()), headerBytes, colours,
                            static_cast<const uint8_t*>(data) + headerBytes, bits, mapping);
}

HBITMAP LoadBmpFileAsDib(const char* path, int mapping, int bits) {
    if (!path) return nullptr;
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Ok()) return nullptr;
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file.Get(), &fileSize)) return nullptr;

    uint8_t fileHeader[14];
    if (!ReadAll(file.Get(), fileHeader, sizeof(fileHeader)) || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return nullptr;
    const uint32_t offBits = ReadLittleEndian32(fileHeader + 10);
    if (offBits < 14 + sizeof(BITMAPINFOHEADER) || offBits - 14 > kMaxHeaderBlock) return nullptr;
    const uint32_t headerBlock = offBits - 14;
    std::vector<DWORD> block((headerBlock + 3) / 4, 0);
    if (!ReadAll(file.Get(), block.data(), headerBlock)) return nullptr;

    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(block.data());
    size_t headerBytes;
    int colours;
    uint64_t pixelBytes;
    if (!InspectHeader(header, headerBlock, headerBytes, colours, pixelBytes)) return nullptr;
    // Never trust the header for the allocation: the pixels must really be in the file.
    if (pixelBytes > static_cast<uint64_t>(fileSize.QuadPart) - offBits) return nullptr;
    std::vector<uint8_t> pixels(static_cast<size_t>(pixelBytes));
    if (!ReadAll(file.Get(), pixels.data(), static_cast<DWORD>(pixelBytes))) return nullptr;
    return CreateFromPacked(header, headerBytes, colours, pixels.data(), bits, mapping);
}

HBITMAP LoadBitmapResourceWithMask(HMODULE module, LPCSTR colourName, LPCSTR maskName, int mapping) {
    return JoinAndFree(LoadBitmapResourceAsDib(module, colourName, 24, mapping),
                       LoadBitmapResourceAsDib(module, maskName, 24, 0));
}

HBITMAP LoadBmpFilesWithMask(const char* colourPath, const char* maskPath, int mapping) {
    return JoinAndFree(LoadBmpFileAsDib(colourPath, mapping, 24), LoadBmpFileAsDib(maskPath, 0, 24));
}

HBITMAP LoadBitmapResourceSideBySide(HMODULE module, LPCSTR name, int mapping) {
    HBITMAP whole = LoadBitmapResourceAsDib(module, name, 24, mapping);
    int w, h;
    if (!whole || !dibaccess::GetBitmapSize(whole, w, h)) {
        if (whole) DeleteObject(whole);
        return nullptr;
    }
    const int half = w / 2;
    HBITMAP colour = CopyPart(whole, 0, 0, half, h);
    HBITMAP mask = CopyPart(whole, half, 0, half, h);
    DeleteObject(whole);
    return JoinAndFree(colour, mask);
}

HBITMAP LoadBitmapResourceStacked(HMODULE module, LPCSTR name, int mapping) {
    HBITMAP whole = LoadBitmapResourceAsDib(module, name, 24, mapping);
    int w, h;
    if (!whole || !dibaccess::GetBitmapSize(whole, w, h)) {
        if (whole) DeleteObject(whole);
        return nullptr;
    }
    const int half = h / 2;
    HBITMAP colour = CopyPart(whole, 0, 0, w, half);
    HBITMAP mask = CopyPart(whole, 0, half, w, half);
    DeleteObject(whole);
    return JoinAndFree(colour, mask);
}

HBITMAP LoadButtonImage(HMODULE module, LPCSTR name, bool disabled) {
    HBITMAP image = LoadBitmapResourceSideBySide(module, name, 0);
    int w, h;
    if (!image || !dibaccess::GetBitmapSize(image, w, h)) {
        if (image) DeleteObject(image);
        return nullptr;
    }
    if (disabled) {
        HBITMAP grey = MakeGreyCopy(image);
        if (grey) {
            DeleteObject(image);
            image = grey;
        }
    }
    HBITMAP result = CreateDibSection24(nullptr, w, h);
    if (result) {
        FillDibRect(result, nullptr, GetSysColor(COLOR_BTNFACE));
        CopyDibRect(result, nullptr, image, nullptr);
    }
    DeleteObject(image);
    return result;
}
