#include "framework/SystemFont.h"
#include <cstddef>
#include "framework/GdiHolders.h"

LOGFONTA SystemMessageFont() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return metrics.lfMessageFont;
    // Systems before Vista know the structure without its last member.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return metrics.lfMessageFont;
    LOGFONTA stock = {};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    return stock;
}

HFONT CreateSystemMessageFont() {
    const LOGFONTA font = SystemMessageFont();
    return ::CreateFontIndirectA(&font);
}

int ScreenPixelsPerInchY() {
    WindowDc screen(nullptr);
    return screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
}
