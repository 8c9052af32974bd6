// Thumbnail speed: decodes every JPEG of a folder with the image library's decoder to 32 bits
// and shrinks it to fit 160 x 160 with the two-pass bilinear resize, as the picture views do.
// Prints per-file and total times; bench/thumbnail_bench.sh runs it beside djpeg -scale.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/AnyBmp.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/FilterResize.h"
#include "imaging/TextException.h"

namespace {

const int kThumb = 160;

double Now(const LARGE_INTEGER& freq) {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

std::vector<std::string> JpegsIn(const std::string& folder) {
    std::vector<std::string> files;
    std::string base = folder;
    if (!base.empty() && base.back() != '\\') base += '\\';
    const char* patterns[] = {"*.jpg", "*.jpeg"};
    for (const char* pattern : patterns) {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((base + pattern).c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(base + fd.cFileName);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: bench_thumbnail [-n runs] folder\n");
        return 2;
    }
    int runs = 3;
    int at = 1;
    if (argc > 3 && std::string(argv[1]) == "-n") {
        runs = atoi(argv[2]);
        at = 3;
    }
    if (runs < 1) runs = 1;
    const std::vector<std::string> files = JpegsIn(argv[at]);
    if (files.empty()) {
        fprintf(stderr, "no JPEG files in %s\n", argv[at]);
        return 1;
    }
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);

    double bestTotal = 1e300, bestDecode = 0, bestResize = 0;
    for (int r = 0; r < runs; ++r) {
        double decodeMs = 0, resizeMs = 0;
        for (const std::string& file : files) {
            CAnyPicDecoder decoder;
            CAnyBmp picture, thumb;
            try {
                const double t0 = Now(freq);
                decoder.DecodeFile(file.c_str(), &picture, 32, nullptr);
                const double t1 = Now(freq);
                const int w = picture.GetWidth(), h = picture.GetHeight();
                const int tw = w >= h ? kThumb : (w * kThumb + h / 2) / h;
                const int th = w >= h ? (h * kThumb + w / 2) / w : kThumb;
                CFilterResizeBilinear(tw > 0 ? tw : 1, th > 0 ? th : 1).Apply(&picture, &thumb);
                const double t2 = Now(freq);
                decodeMs += t1 - t0;
                resizeMs += t2 - t1;
                if (r == 0)
                    printf("  %-50s %5dx%-5d -> %3dx%-3d decode %8.1f ms  resize %7.1f ms\n", file.c_str(), w, h,
                           thumb.GetWidth(), thumb.GetHeight(), t1 - t0, t2 - t1);
            } catch (const CTextException& e) {
                fprintf(stderr, "%s: %s\n", file.c_str(), e.GetText());
            }
        }
        if (decodeMs + resizeMs < bestTotal) {
            bestTotal = decodeMs + resizeMs;
            bestDecode = decodeMs;
            bestResize = resizeMs;
        }
    }
    printf("files %u, best of %d runs: decode %.1f ms, resize %.1f ms, total %.1f ms\n",
           static_cast<unsigned>(files.size()), runs, bestDecode, bestResize, bestTotal);
    printf("TOTAL_MS %.3f\n", bestTotal);
    return 0;
}
