#pragma once
// libtiff over a memory block: an I/O client for TIFFClientOpen, plus the program's own
// libtiff message handlers (libtiff's defaults may pop up message boxes on Windows).
#include <cstddef>
#include <cstdint>
#include <tiffio.h>

// Installs our error and warning handlers; idempotent, called before any other libtiff use.
void InstallTiffHandlers();

// The text of the last libtiff error, with a line feed appended.
const char* GetLastTiffError();
void ClearLastTiffError();

// Opens a TIFF over data. With sizeHolder the stream is writable and *sizeHolder tracks the
// data size; without it, the stream is read-only. Returns null on failure.
TIFF* TIFFOpenMem(const uint8_t* data, size_t size, size_t* sizeHolder);
