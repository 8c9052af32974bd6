// Writing a DIB section as a .bmp file.
#include "imaging/DibFile.h"

#include <cstdint>
#include <vector>

#include "imaging/DibAccess.h"
#include "imaging/DibHelpers.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool WriteAll(HANDLE file, const void* data, size_t bytes) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (bytes > 0) {
        const DWORD chunk = bytes > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes);
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr) || written != chunk) return false;
        p += chunk;
        bytes -= chunk;
    }
    return true;
}

// The section's colour table (palette sections only).
std::vector<RGBQUAD> ColourTable(HBITMAP bitmap, int bits) {
    std::vector<RGBQUAD> table;
    if (bits > 8) return table;
    table.resize(static_cast<size_t>(1) << bits);
    dibaccess::MemoryDc dc(nullptr, bitmap);
    const UINT got = dc.Ok() ? GetDIBColorTable(dc.Get(), 0, static_cast<UINT>(table.size()), table.data()) : 0;
    table.resize(got);
    return table;
}

}  // namespace

int SaveDibAsBmpFile(HBITMAP bitmap, const char* path) {
    if (!path) return 0;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;

    int ok = 0;
    DIBSECTION ds;
    dibk::DibView view;
    if (dibaccess::GetDibSection(bitmap, ds) && dibaccess::GetDibView(bitmap, view)) {
        const int bits = ds.dsBmih.biBitCount;
        const std::vector<RGBQUAD> table = ColourTable(bitmap, bits);
        const bool masks = ds.dsBmih.biCompression == BI_BITFIELDS;
        const uint32_t extra = static_cast<uint32_t>(table.size() * 4) + (masks ? 12 : 0);
        const uint64_t image = GetDibImageSize(view.width, view.height, bits);
        const uint32_t rowBytes = static_cast<uint32_t>(image / static_cast<uint64_t>(view.height));

        std::vector<uint8_t> head;
        head.reserve(54 + extra);
        head.push_back('B');
        head.push_back('M');
        Put32(head, static_cast<uint32_t>(54 + extra + image));
        Put16(head, 0);
        Put16(head, 0);
        Put32(head, 54 + extra);
        // Whatever the section's own row order, the file is written bottom-up with a positive
        // height, so every reader shows it the right way up.
        Put32(head, 40);
        Put32(head, static_cast<uint32_t>(view.width));
        Put32(head, static_cast<uint32_t>(view.height));
        Put16(head, 1);
        Put16(head, static_cast<uint32_t>(bits));
        Put32(head, masks ? BI_BITFIELDS : BI_RGB);
        Put32(head, static_cast<uint32_t>(image));
        Put32(head, static_cast<uint32_t>(ds.dsBmih.biXPelsPerMeter));
        Put32(head, static_cast<uint32_t>(ds.dsBmih.biYPelsPerMeter));
        Put32(head, static_cast<uint32_t>(table.size()));
        Put32(head, 0);
        if (masks) {
            for (int i = 0; i < 3; ++i) Put32(head, ds.dsBitfields[i]);
        }
        for (const RGBQUAD& q : table) {
            head.push_back(q.rgbBlue);
            head.push_back(q.rgbGreen);
            head.push_back(q.rgbRed);
            head.push_back(0);
        }
        GdiFlush();
        bool written = WriteAll(file, head.data(), head.size());
        if (dibaccess::IsBottomUpSection(bitmap)) {
            written = written && WriteAll(file, view.bits, static_cast<size_t>(image));
        } else {
            for (int y = view.height - 1; written && y >= 0; --y) written = WriteAll(file, view.Row(y), rowBytes);
        }
        ok = written ? 1 : 0;
    }
    CloseHandle(file);
    return ok;
}
