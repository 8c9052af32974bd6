// Decode speed of the image library: milliseconds per megapixel for each picture given on the
// command line (JPEG, PNG or anything else CAnyPicDecoder reads). Run by
// bench/imaging_decode_bench.sh, which prints the command-line decoders' figures beside it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "imaging/AnyBmp.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/TextException.h"

static bool ReadWholeFile(const char* path, std::vector<uint8_t>& data)
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    fclose(f);
    return true;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: bench_imaging_decode [-n runs] picture...\n");
        return 2;
    }
    int runs = 10;
    int first = 1;
    if (argc > 3 && argv[1][0] == '-' && argv[1][1] == 'n') {
        runs = atoi(argv[2]);
        first = 3;
    }
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    for (int i = first; i < argc; ++i) {
        std::vector<uint8_t> data;
        if (!ReadWholeFile(argv[i], data)) {
            fprintf(stderr, "%s: cannot read\n", argv[i]);
            continue;
        }
        CAnyPicDecoder decoder;
        CAnyBmp bmp;
        double best = 1e30;
        try {
            for (int r = 0; r < runs; ++r) {
                LARGE_INTEGER t0, t1;
                QueryPerformanceCounter(&t0);
                decoder.DecodeMemory(data.data(), data.size(), &bmp, 32);
                QueryPerformanceCounter(&t1);
                double ms = (t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart;
                if (ms < best)
                    best = ms;
            }
        } catch (const CTextException& e) {
            fprintf(stderr, "%s: %s", argv[i], e.GetText());
            continue;
        }
        double mpix = bmp.GetWidth() * static_cast<double>(bmp.GetHeight()) / 1e6;
        printf("%-40s %5dx%-5d best of %d: %8.2f ms  %7.2f ms/Mpixel\n", argv[i], bmp.GetWidth(),
               bmp.GetHeight(), runs, best, best / mpix);
    }
    return 0;
}
