#pragma once
// The printer the viewer prints on and its settings: the default printer at first, then the one
// last chosen in the print dialog. With no printer installed there are no settings at all, and
// nothing reads them.
#include <windows.h>
#include <commdlg.h>
#include <string>
#include <vector>
#include "framework/GdiHolders.h"

class ViewerPrinter {
public:
    // Opens the default printer (when there is one) and copies its settings.
    ViewerPrinter();
    ~ViewerPrinter();
    ViewerPrinter(const ViewerPrinter&) = delete;
    ViewerPrinter& operator=(const ViewerPrinter&) = delete;

    bool HasSettings() const { return !devMode_.empty(); }
    const std::string& GetPrinterName() const { return name_; }
    // Portrait or landscape for the next print; ignored without settings.
    void SetOrientation(bool landscape);
    // Orientation in the stored settings (DMORIENT_*), 0 without settings.
    int GetOrientation() const;
    // Runs the print dialog (one page, no selection) with the stored printer and settings. On OK
    // the chosen printer and its settings are kept and its device context returned; none on cancel.
    CreatedDc AskForPrinterDc(HWND owner);

private:
    void Open(const std::string& name, const DEVMODEA* settings);
    // The printer and settings the dialog returned become the stored ones.
    void KeepChosenPrinter(const PRINTDLGA& request);
    void Close();

    std::string name_;
    HANDLE printer_ = nullptr;
    std::vector<BYTE> devMode_;
};

// Draws the picture (a DIB section of width x height) fitted and centred on the page of dc.
bool DrawBitmapOnPage(HDC dc, HBITMAP picture, int width, int height);
// Prints it as a document of one such page; false when the printer refused the document.
bool PrintBitmapOnPage(HDC dc, HBITMAP picture, int width, int height, const std::string& documentName);
