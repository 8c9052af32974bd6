#include "imaging/TIFFMemClient.h"
#include "imaging/DecoderError.h"
#include "imaging/PictureLimits.h"

#include <cstdio>
#include <cstring>

namespace {

char g_LastError[1024];
bool g_HandlersInstalled = false;

struct MemClient {
    uint8_t* data;
    uint64_t offset;
    uint64_t bufferSize;
    bool writable;
    uint64_t ownSize;
    size_t* pSize;  // writable streams: the caller's size holder

    uint64_t DataSize() const { return pSize ? *pSize : ownSize; }
};

void ErrorHandler(const char* module, const char* format, va_list args)
{
    char text[900];
    vsnprintf(text, sizeof text, format, args);
    if (module && *module)
        snprintf(g_LastError, sizeof g_LastError, "%s: %s\n", module, text);
    else
        snprintf(g_LastError, sizeof g_LastError, "%s\n", text);
    Trace(0, g_LastError);
}

void WarningHandler(const char* module, const char* format, va_list args)
{
    char text[900];
    vsnprintf(text, sizeof text, format, args);
    if (module)
        TraceF(2, "Warning in LIBTIFF(%s): %s\n", module, text);
    else
        TraceF(2, "Warning in LIBTIFF: %s\n", text);
}

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t n)
{
    MemClient* c = static_cast<MemClient*>(handle);
    if (c->writable || n <= 0)
        return 0;
    uint64_t size = c->DataSize();
    // A seek past the end leaves nothing to read, never a negative remainder.
    uint64_t remaining = c->offset < size ? size - c->offset : 0;
    uint64_t count = static_cast<uint64_t>(n) < remaining ? static_cast<uint64_t>(n) : remaining;
    if (count)
        memcpy(buffer, c->data + c->offset, static_cast<size_t>(count));
    c->offset += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t WriteProc(thandle_t handle, void* buffer, tmsize_t n)
{
    MemClient* c = static_cast<MemClient*>(handle);
    if (!c->writable || n <= 0)
        return 0;
    uint64_t room = c->offset < c->bufferSize ? c->bufferSize - c->offset : 0;
    uint64_t count = static_cast<uint64_t>(n) < room ? static_cast<uint64_t>(n) : room;
    if (count)
        memcpy(c->data + c->offset, buffer, static_cast<size_t>(count));
    c->offset += count;
    if (c->pSize && c->offset > *c->pSize)
        *c->pSize = static_cast<size_t>(c->offset);
    return static_cast<tmsize_t>(count);
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence)
{
    MemClient* c = static_cast<MemClient*>(handle);
    int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<int64_t>(c->offset);
    else if (whence == SEEK_END)
        base = static_cast<int64_t>(c->DataSize());
    // toff_t is unsigned; relative seeks backwards arrive as large values.
    int64_t target = base + static_cast<int64_t>(offset);
    if (target < 0)
        return static_cast<toff_t>(-1);
    c->offset = static_cast<uint64_t>(target);
    if (c->writable && c->pSize && c->offset > *c->pSize && c->offset <= c->bufferSize)
        *c->pSize = static_cast<size_t>(c->offset);
    return static_cast<toff_t>(c->offset);
}

int CloseProc(thandle_t handle)
{
    delete static_cast<MemClient*>(handle);
    return 0;
}

toff_t SizeProc(thandle_t handle)
{
    return static_cast<toff_t>(static_cast<MemClient*>(handle)->DataSize());
}

// Reading streams offer their memory as a mapping: libtiff then reads strips and tiles in
// place (bounds-checked against the size), which also avoids its raw-buffer size check
// rejecting valid uncompressed tiles when it has to copy them.
int MapProc(thandle_t handle, void** base, toff_t* size)
{
    MemClient* c = static_cast<MemClient*>(handle);
    if (c->writable)
        return 0;
    *base = c->data;
    *size = static_cast<toff_t>(c->ownSize);
    return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

}  // namespace

void InstallTiffHandlers()
{
    if (g_HandlersInstalled)
        return;
    TIFFSetErrorHandler(ErrorHandler);
    TIFFSetWarningHandler(WarningHandler);
    g_HandlersInstalled = true;
}

const char* GetLastTiffError()
{
    return g_LastError;
}

void ClearLastTiffError()
{
    g_LastError[0] = 0;
}

TIFF* TIFFOpenMem(const uint8_t* data, size_t size, size_t* sizeHolder)
{
    InstallTiffHandlers();
    MemClient* c = new MemClient;
    c->data = const_cast<uint8_t*>(data);
    c->offset = 0;
    c->bufferSize = size;
    c->writable = sizeHolder != nullptr;
    c->ownSize = size;
    c->pSize = sizeHolder;
    if (sizeHolder)
        *sizeHolder = 0;

    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options)
        TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(kMaxPictureBytes + 65536));
    TIFF* tif = TIFFClientOpenExt("MemSource", sizeHolder ? "w" : "r", c, ReadProc, WriteProc, SeekProc,
                                  CloseProc, SizeProc, MapProc, UnmapProc, options);
    if (options)
        TIFFOpenOptionsFree(options);
    // A failed open does not run CloseProc: the client is still ours.
    if (!tif)
        delete c;
    return tif;
}
