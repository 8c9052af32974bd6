#include "ui/viewer/ViewerPrinter.h"
#include <cstring>
#include <winspool.h>
#include "framework/UserPrompts.h"
#include "ui/viewer/ViewerMath.h"

ViewerPrinter::ViewerPrinter() {
    char name[512] = {};
    DWORD size = sizeof(name);
    if (::GetDefaultPrinterA(name, &size) && name[0]) Open(name, nullptr);
}

ViewerPrinter::~ViewerPrinter() { Close(); }

void ViewerPrinter::Close() {
    if (printer_) ::ClosePrinter(printer_);
    printer_ = nullptr;
    name_.clear();
    devMode_.clear();
}

void ViewerPrinter::Open(const std::string& name, const DEVMODEA* settings) {
    Close();
    HANDLE printer = nullptr;
    if (!::OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr)) return;
    name_ = name;
    printer_ = printer;
    if (settings) {
        const size_t size = settings->dmSize + settings->dmDriverExtra;
        devMode_.assign(reinterpret_cast<const BYTE*>(settings), reinterpret_cast<const BYTE*>(settings) + size);
        return;
    }
    const LONG size = ::DocumentPropertiesA(nullptr, printer_, const_cast<char*>(name_.c_str()), nullptr, nullptr, 0);
    if (size < static_cast<LONG>(sizeof(DEVMODEA) / 2)) return;
    std::vector<BYTE> buffer(static_cast<size_t>(size));
    if (::DocumentPropertiesA(nullptr, printer_, const_cast<char*>(name_.c_str()),
                              reinterpret_cast<DEVMODEA*>(buffer.data()), nullptr, DM_OUT_BUFFER) == IDOK)
        devMode_.swap(buffer);
}

void ViewerPrinter::SetOrientation(bool landscape) {
    if (!HasSettings()) return;
    auto* mode = reinterpret_cast<DEVMODEA*>(devMode_.data());
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = static_cast<short>(landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
}

int ViewerPrinter::GetOrientation() const {
    return HasSettings() ? reinterpret_cast<const DEVMODEA*>(devMode_.data())->dmOrientation : 0;
}

namespace {

HGLOBAL CopyToGlobal(const void* data, size_t size) {
    HGLOBAL handle = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!handle) return nullptr;
    std::memcpy(::GlobalLock(handle), data, size);
    ::GlobalUnlock(handle);
    return handle;
}

HGLOBAL MakeDevNames(const std::string& device) {
    std::vector<BYTE> block(sizeof(DEVNAMES) + device.size() + 3, 0);
    auto* names = reinterpret_cast<DEVNAMES*>(block.data());
    // Driver and port left empty: the dialog finds them from the device name.
    names->wDriverOffset = static_cast<WORD>(sizeof(DEVNAMES));
    names->wDeviceOffset = static_cast<WORD>(sizeof(DEVNAMES) + 1);
    names->wOutputOffset = static_cast<WORD>(sizeof(DEVNAMES) + 2 + device.size());
    std::memcpy(block.data() + names->wDeviceOffset, device.c_str(), device.size() + 1);
    return CopyToGlobal(block.data(), block.size());
}

}  // namespace

void ViewerPrinter::KeepChosenPrinter(const PRINTDLGA& request) {
    if (!request.hDevNames) return;
    const auto* names = static_cast<const DEVNAMES*>(::GlobalLock(request.hDevNames));
    const size_t blockSize = ::GlobalSize(request.hDevNames);
    std::string device;
    if (names && names->wDeviceOffset < blockSize) {
        const char* text = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
        device.assign(text, strnlen(text, blockSize - names->wDeviceOffset));
    }
    ::GlobalUnlock(request.hDevNames);
    const DEVMODEA* mode = request.hDevMode ? static_cast<const DEVMODEA*>(::GlobalLock(request.hDevMode)) : nullptr;
    // Settings whose stated size passes their block are not taken.
    if (mode && static_cast<size_t>(mode->dmSize) + mode->dmDriverExtra > ::GlobalSize(request.hDevMode)) {
        ::GlobalUnlock(request.hDevMode);
        mode = nullptr;
    }
    Open(device, mode);
    if (mode) ::GlobalUnlock(request.hDevMode);
}

CreatedDc ViewerPrinter::AskForPrinterDc(HWND owner) {
    PRINTDLGA request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS;
    request.nFromPage = request.nToPage = 1;
    request.nMinPage = request.nMaxPage = 1;
    request.nCopies = 1;
    // Without a printer nothing was stored: the dialog then starts from the system's defaults.
    if (HasSettings()) {
        request.hDevMode = CopyToGlobal(devMode_.data(), devMode_.size());
        request.hDevNames = MakeDevNames(name_);
    }
    const bool chosen = UserPrompts().PrintDialog(request);
    CreatedDc dc(request.hDC);
    if (chosen) KeepChosenPrinter(request);
    if (request.hDevMode) ::GlobalFree(request.hDevMode);
    if (request.hDevNames) ::GlobalFree(request.hDevNames);
    if (!chosen) return CreatedDc();
    return dc;
}

bool DrawBitmapOnPage(HDC dc, HBITMAP picture, int width, int height) {
    DIBSECTION section = {};
    if (!dc || ::GetObjectA(picture, sizeof(section), &section) != sizeof(section) || !section.dsBm.bmBits) return false;
    const PrintPlacement place =
        FitPictureOnPage(width, height, ::GetDeviceCaps(dc, HORZRES), ::GetDeviceCaps(dc, VERTRES));
    // Printers take device-independent pixels; a memory context of theirs may not.
    BITMAPINFO info = {};
    info.bmiHeader = section.dsBmih;
    ::SetStretchBltMode(dc, HALFTONE);
    return ::StretchDIBits(dc, place.left, place.top, place.width, place.height, 0, 0, width, height,
                           section.dsBm.bmBits, &info, DIB_RGB_COLORS, SRCCOPY) != 0;
}

bool PrintBitmapOnPage(HDC dc, HBITMAP picture, int width, int height, const std::string& documentName) {
    if (!dc || !picture) return false;
    DOCINFOA document = {};
    document.cbSize = sizeof(document);
    document.lpszDocName = documentName.c_str();
    if (::StartDocA(dc, &document) <= 0) return false;
    bool ok = ::StartPage(dc) > 0;
    if (ok) {
        ok = DrawBitmapOnPage(dc, picture, width, height);
        ::EndPage(dc);
    }
    ::EndDoc(dc);
    return ok;
}
