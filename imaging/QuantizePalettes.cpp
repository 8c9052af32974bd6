// The three palette builders of the quantiser: median cut, popularity and the fixed table.
#include <cstring>
#include <new>

#include "imaging/QuantizeKernel.h"

namespace quant {

namespace {

// The eight corners of the 5-bit cube, in palette order: black, red, green, blue, red + green,
// green + blue, red + blue, white (as red, green, blue).
const int kCorners[8][3] = {{0, 0, 0},   {31, 0, 0},   {0, 31, 0},  {0, 0, 31},
                            {31, 31, 0}, {0, 31, 31}, {31, 0, 31}, {31, 31, 31}};

// A box of 5-bit colours; channel 0 red, 1 green, 2 blue.
struct Box {
    int lo[3];
    int hi[3];
    int avg[3];
    uint32_t count;
};

// Shrinks the box to its occupied cells and recounts it.
void ComputeStats(const ColourHistogram& h, Box& box) {
    int lo[3] = {31, 31, 31};
    int hi[3] = {0, 0, 0};
    uint64_t sum[3] = {0, 0, 0};
    uint64_t total = 0;
    for (int r = box.lo[0]; r <= box.hi[0]; ++r) {
        for (int g = box.lo[1]; g <= box.hi[1]; ++g) {
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                const uint32_t c = h.CellCount(r, g, b);
                if (c == 0) continue;
                const int v[3] = {r, g, b};
                for (int k = 0; k < 3; ++k) {
                    if (v[k] < lo[k]) lo[k] = v[k];
                    if (v[k] > hi[k]) hi[k] = v[k];
                    sum[k] += static_cast<uint64_t>(v[k]) * c;
                }
                total += c;
            }
        }
    }
    for (int k = 0; k < 3; ++k) {
        box.lo[k] = lo[k];
        box.hi[k] = hi[k];
        if (total != 0) box.avg[k] = static_cast<int>(sum[k] / total);
    }
    box.count = total > 65535 ? 65535 : static_cast<uint32_t>(total);
    // A one-colour box is never split while a larger box exists.
    if (box.lo[0] == box.hi[0] && box.lo[1] == box.hi[1] && box.lo[2] == box.hi[2]) box.count = 1;
}

void SplitBox(const ColourHistogram& h, Box& chosen, Box& added) {
    const int ext[3] = {chosen.hi[0] - chosen.lo[0], chosen.hi[1] - chosen.lo[1], chosen.hi[2] - chosen.lo[2]};
    int axis;
    if (ext[0] >= ext[1] && ext[0] >= ext[2])
        axis = 0;
    else if (ext[1] >= ext[2])
        axis = 1;
    else
        axis = 2;
    added = chosen;
    if (ext[axis] == 2) {
        added.hi[axis] = added.lo[axis];
        chosen.lo[axis] = chosen.hi[axis];
    } else {
        const int a = chosen.avg[axis];
        if (a == chosen.hi[axis]) {
            chosen.hi[axis] = a - 1;
            added.lo[axis] = a;
        } else {
            chosen.hi[axis] = a;
            added.lo[axis] = a + 1;
        }
    }
    ComputeStats(h, chosen);
    ComputeStats(h, added);
}

}  // namespace

bool BuildMedianCutPalette(const ColourHistogram& histogram, Entry* palette) {
    Box* boxes = new (std::nothrow) Box[256];
    if (!boxes) return false;
    std::memset(boxes, 0, sizeof(Box) * 256);
    for (int i = 0; i < 8; ++i) {
        for (int k = 0; k < 3; ++k) boxes[i].lo[k] = boxes[i].hi[k] = boxes[i].avg[k] = kCorners[i][k];
        boxes[i].count = 1;
    }
    for (int k = 0; k < 3; ++k) {
        boxes[8].lo[k] = 0;
        boxes[8].hi[k] = 31;
    }
    ComputeStats(histogram, boxes[8]);

    for (int n = 9; n < 256; ++n) {
        int chosen = 8;
        for (int i = 9; i < n; ++i)
            if (boxes[i].count > boxes[chosen].count) chosen = i;
        if (boxes[chosen].count < 2) {
            std::memset(&boxes[n], 0, sizeof(Box) * (256 - n));
            break;
        }
        SplitBox(histogram, boxes[chosen], boxes[n]);
    }
    for (int i = 0; i < 256; ++i) {
        const Box& b = boxes[i];
        palette[i] = MakeEntry((b.lo[0] + b.hi[0]) * 255 / 62, (b.lo[1] + b.hi[1]) * 255 / 62,
                               (b.lo[2] + b.hi[2]) * 255 / 62, 0);
    }
    delete[] boxes;
    return true;
}

void BuildPopularityPalette(const ColourHistogram& histogram, Entry* palette) {
    int colour[256][3] = {};
    uint32_t count[256] = {};
    for (int i = 0; i < 8; ++i)
        for (int k = 0; k < 3; ++k) colour[i][k] = kCorners[i][k];
    // Entries 8 to 255 end up holding the most populated cells, ties in scan order. Entries no
    // cell reaches stay black.
    for (int r = 0; r < 32; ++r) {
        for (int g = 0; g < 32; ++g) {
            for (int b = 0; b < 32; ++b) {
                const uint32_t c = histogram.CellCount(r, g, b);
                if (c == 0 || c <= count[255]) continue;
                int at = 255;
                while (at > 8 && c > count[at - 1]) {
                    count[at] = count[at - 1];
                    for (int k = 0; k < 3; ++k) colour[at][k] = colour[at - 1][k];
                    --at;
                }
                count[at] = c;
                colour[at][0] = r;
                colour[at][1] = g;
                colour[at][2] = b;
            }
        }
    }
    for (int i = 0; i < 256; ++i)
        palette[i] = MakeEntry(colour[i][0] * 255 / 31, colour[i][1] * 255 / 31, colour[i][2] * 255 / 31, 0);
}

void BuildFixedPalette(Entry* palette) {
    // Byte triples in blue, green, red order.
    static const uint8_t kFirst[16][3] = {{0, 0, 0},       {191, 0, 0},     {0, 191, 0},   {191, 191, 0},
                                          {0, 0, 191},     {191, 0, 191},   {0, 191, 191}, {192, 192, 192},
                                          {192, 220, 192}, {166, 202, 240}, {128, 0, 0},   {0, 128, 0},
                                          {128, 128, 0},   {0, 0, 128},     {128, 0, 128}, {0, 128, 128}};
    static const uint8_t kLast[11][3] = {{155, 207, 207}, {255, 251, 240}, {160, 160, 164}, {128, 128, 128},
                                         {255, 0, 0},     {0, 255, 0},     {255, 255, 0},   {0, 0, 255},
                                         {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    static const uint8_t kLevels[6] = {0, 81, 133, 177, 217, 255};
    auto put = [&](int i, int first, int second, int third) {
        const uint32_t fourth = palette[i] & 0xFF000000u;
        palette[i] = static_cast<uint32_t>(first) | (static_cast<uint32_t>(second) << 8) |
                     (static_cast<uint32_t>(third) << 16) | fourth;
    };
    for (int i = 0; i < 16; ++i) put(i, kFirst[i][0], kFirst[i][1], kFirst[i][2]);
    for (int k = 6; k <= 214; ++k) put(10 + k, kLevels[k % 6], kLevels[(k / 6) % 6], kLevels[k / 36]);
    for (int i = 225; i <= 244; ++i) {
        const int v = 196 + 3 * (i - 225);
        put(i, v, v, v);
    }
    for (int i = 0; i < 11; ++i) put(245 + i, kLast[i][0], kLast[i][1], kLast[i][2]);
}

}  // namespace quant
