#pragma once
// A status bar divided into panes: pane 0 takes whatever width the fixed panes leave, the others
// keep their widths as the bar is resized. Each pane can show a text, an icon and a tip.
#include <windows.h>
#include <string>
#include <vector>
#include "framework/Window.h"

class CMultiPaneStatusBar : public CWindow {
public:
    CMultiPaneStatusBar() = default;
    ~CMultiPaneStatusBar();
    CMultiPaneStatusBar(const CMultiPaneStatusBar&) = delete;
    CMultiPaneStatusBar& operator=(const CMultiPaneStatusBar&) = delete;

    HWND Create(HWND parent, const std::string& text, UINT id);
    // Widths of panes 1..n-1 in pixels; pane 0 is stretched.
    void SetPanes(const std::vector<int>& fixedWidths);
    void SetPaneText(int pane, const std::string& text);
    std::string GetPaneText(int pane) const;
    // The bar keeps no icon of its own: the caller owns it (shared icons need no freeing).
    void SetPaneIcon(int pane, HICON icon);
    HICON GetPaneIcon(int pane) const;
    void SetPaneTip(int pane, const std::string& tip);
    std::string GetPaneTip(int pane) const;
    RECT GetPaneRect(int pane) const;
    // Horizontal and vertical border widths (SB_GETBORDERS).
    void GetBorders(int& horizontal, int& vertical) const;
    // Right edges of every pane for a bar of `width` pixels with a size grip of `grip` pixels.
    static std::vector<int> PaneEdges(int width, int grip, const std::vector<int>& fixedWidths);

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void UpdateParts();

    std::vector<int> fixedWidths_;
    std::vector<std::string> tips_;
};
