// What one picture costs through the two paths that decode pictures for the user: the thumbnail
// loader (reduced where the format allows) and the viewer's whole decode into a DIB section.
// Run once per file and path (a fresh process each), so the peak figures are that picture's.
// Usage: bench_hostile_picture thumbnail|viewer file
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <cstring>
#include "core/PerformanceTimer.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/TextException.h"
#include "ui/thumbnails/ThumbnailPictureLoader.h"
#include "ui/viewer/MyBitmap.h"

int main(int argc, char** argv) {
    if (argc != 3 || (strcmp(argv[1], "thumbnail") != 0 && strcmp(argv[1], "viewer") != 0)) {
        fprintf(stderr, "usage: bench_hostile_picture thumbnail|viewer file\n");
        return 2;
    }
    PROCESS_MEMORY_COUNTERS before = {};
    before.cb = sizeof(before);
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
    const double start = PerformanceTimer(TIMER_ABSOLUTE);
    bool loaded = false;
    int width = 0, height = 0;
    if (strcmp(argv[1], "thumbnail") == 0) {
        HBITMAP bitmap = nullptr;
        loaded = LoadThumbnailPicture(argv[2], 160, 160, &width, &height, &bitmap);
        if (bitmap) DeleteObject(bitmap);
    } else {
        try {
            CMyBitmap picture;
            CAnyPicDecoder decoder;
            decoder.DecodeFile(argv[2], &picture, 32);
            loaded = picture.MakeDibSection() > 0;
            width = picture.GetWidth();
            height = picture.GetHeight();
        } catch (const CTextException& e) {
            printf("REFUSED %s", e.GetText());
        } catch (...) {
            printf("REFUSED (other)\n");
        }
    }
    const double ms = (PerformanceTimer(TIMER_ABSOLUTE) - start) * 1000.0;
    PROCESS_MEMORY_COUNTERS after = {};
    after.cb = sizeof(after);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
    printf("LOADED %s %dx%d\n", loaded ? "yes" : "no", width, height);
    printf("TIME_MS %.1f\n", ms);
    printf("PEAK_WORKING_SET_MB %.1f (at start %.1f)\n", after.PeakWorkingSetSize / 1048576.0,
           before.WorkingSetSize / 1048576.0);
    return 0;
}
