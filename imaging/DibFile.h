#pragma once
// Loading bitmap resources and .bmp files into DIB sections, and saving a section as a .bmp.
//
// Palette mapping: 0 keeps the palette; 1 replaces black, dark grey (0x808080), light grey
// (0xC0C0C0) and white with the button text, shadow, face and highlight colours; 2 turns every
// grey entry into the highlight colour's hue and saturation at the grey's lightness.
#include <windows.h>

// `bits` 0 keeps the stored depth. The section is top-down. Null on any failure.
HBITMAP LoadBitmapResourceAsDib(HMODULE module, LPCSTR name, int bits, int mapping);
HBITMAP LoadBmpFileAsDib(const char* path, int mapping, int bits);

// 32-bit sections whose alpha comes from a mask's blue byte.
HBITMAP LoadBitmapResourceWithMask(HMODULE module, LPCSTR colourName, LPCSTR maskName, int mapping);
HBITMAP LoadBmpFilesWithMask(const char* colourPath, const char* maskPath, int mapping);
// One resource: colour in the left half and mask in the right half / colour on top, mask below.
HBITMAP LoadBitmapResourceSideBySide(HMODULE module, LPCSTR name, int mapping);
HBITMAP LoadBitmapResourceStacked(HMODULE module, LPCSTR name, int mapping);
// A side-by-side image blended over the button face colour (greyed when disabled): 24 bits.
HBITMAP LoadButtonImage(HMODULE module, LPCSTR name, bool disabled);

// Writes a 24- or 32-bit (or palette) section as a bottom-up .bmp file; 1 when every byte was
// written. The file is created (emptied) first.
int SaveDibAsBmpFile(HBITMAP bitmap, const char* path);
