#include "imaging/PictOpcodes.h"

namespace {

struct NamedOpcode {
    int opcode;
    const char* name;
    int length;
};

const NamedOpcode kNamed[] = {
    {0x00, "NOP", 0},           {0x01, "Clip", PICT_LEN_SPECIAL},   {0x02, "BkPat", 8},
    {0x03, "TxFont", 2},        {0x04, "TxFace", 1},                {0x05, "TxMode", 2},
    {0x06, "SpExtra", 4},       {0x07, "PnSize", 4},                {0x08, "PnMode", 2},
    {0x09, "PnPat", 8},         {0x0A, "FillPat", 8},               {0x0B, "OvSize", 4},
    {0x0C, "Origin", 4},        {0x0D, "TxSize", 2},                {0x0E, "FgColor", 4},
    {0x0F, "BkColor", 4},       {0x10, "TxRatio", 8},               {0x11, "Version", 1},
    {0x12, "BkPixPat", PICT_LEN_SPECIAL}, {0x13, "PnPixPat", PICT_LEN_SPECIAL},
    {0x14, "FillPixPat", PICT_LEN_SPECIAL}, {0x15, "PnLocHFrac", 2}, {0x16, "ChExtra", 2},
    {0x1A, "RGBFgCol", 6},      {0x1B, "RGBBkCol", 6},              {0x1C, "HiliteMode", 0},
    {0x1D, "HiliteColor", 6},   {0x1E, "DefHilite", 0},             {0x1F, "OpColor", 6},
    {0x20, "Line", 8},          {0x21, "LineFrom", 4},              {0x22, "ShortLine", 6},
    {0x23, "ShortLineFrom", 2}, {0x28, "LongText", PICT_LEN_TEXT},  {0x29, "DHText", PICT_LEN_TEXT},
    {0x2A, "DVText", PICT_LEN_TEXT}, {0x2B, "DHDVText", PICT_LEN_TEXT},
    {0x30, "frameRect", 8},     {0x31, "paintRect", 8},             {0x32, "eraseRect", 8},
    {0x33, "invertRect", 8},    {0x34, "fillRect", 8},              {0x38, "frameSameRect", 0},
    {0x39, "paintSameRect", 0}, {0x3A, "eraseSameRect", 0},         {0x3B, "invertSameRect", 0},
    {0x3C, "fillSameRect", 0},  {0x40, "frameRRect", 8},            {0x41, "paintRRect", 8},
    {0x42, "eraseRRect", 8},    {0x43, "invertRRect", 8},           {0x44, "fillRRect", 8},
    {0x48, "frameSameRRect", 0}, {0x49, "paintSameRRect", 0},       {0x4A, "eraseSameRRect", 0},
    {0x4B, "invertSameRRect", 0}, {0x4C, "fillSameRRect", 0},       {0x50, "frameOval", 8},
    {0x51, "paintOval", 8},     {0x52, "eraseOval", 8},             {0x53, "invertOval", 8},
    {0x54, "fillOval", 8},      {0x58, "frameSameOval", 0},         {0x59, "paintSameOval", 0},
    {0x5A, "eraseSameOval", 0}, {0x5B, "invertSameOval", 0},        {0x5C, "fillSameOval", 0},
    {0x60, "frameArc", 12},     {0x61, "paintArc", 12},             {0x62, "eraseArc", 12},
    {0x63, "invertArc", 12},    {0x64, "fillArc", 12},              {0x68, "frameSameArc", 4},
    {0x69, "paintSameArc", 4},  {0x6A, "eraseSameArc", 4},          {0x6B, "invertSameArc", 4},
    {0x6C, "fillSameArc", 4},   {0x70, "framePoly", PICT_LEN_REGION}, {0x71, "paintPoly", PICT_LEN_REGION},
    {0x72, "erasePoly", PICT_LEN_REGION}, {0x73, "invertPoly", PICT_LEN_REGION},
    {0x74, "fillPoly", PICT_LEN_REGION}, {0x78, "frameSamePoly", 0}, {0x79, "paintSamePoly", 0},
    {0x7A, "eraseSamePoly", 0}, {0x7B, "invertSamePoly", 0},        {0x7C, "fillSamePoly", 0},
    {0x80, "frameRgn", PICT_LEN_REGION}, {0x81, "paintRgn", PICT_LEN_REGION},
    {0x82, "eraseRgn", PICT_LEN_REGION}, {0x83, "invertRgn", PICT_LEN_REGION},
    {0x84, "fillRgn", PICT_LEN_REGION}, {0x88, "frameSameRgn", 0}, {0x89, "paintSameRgn", 0},
    {0x8A, "eraseSameRgn", 0},  {0x8B, "invertSameRgn", 0},         {0x8C, "fillSameRgn", 0},
    {0x90, "BitsRect", PICT_LEN_SPECIAL}, {0x91, "BitsRgn", PICT_LEN_SPECIAL},
    {0x98, "PackBitsRect", PICT_LEN_SPECIAL}, {0x99, "PackBitsRgn", PICT_LEN_SPECIAL},
    {0x9A, "DirectBitsRect", PICT_LEN_SPECIAL}, {0x9B, "DirectBitsRgn", PICT_LEN_SPECIAL},
    {0xA0, "ShortComment", 2},  {0xA1, "LongComment", PICT_LEN_SPECIAL},
};

// Data length of reserved opcodes, by the range they fall in.
int ReservedLength(int opcode)
{
    if (opcode >= 0x17 && opcode <= 0x19)
        return 0;
    if ((opcode >= 0x24 && opcode <= 0x27) || (opcode >= 0x2C && opcode <= 0x2F))
        return PICT_LEN_VARIABLE;
    if (opcode >= 0x35 && opcode <= 0x37)
        return 8;
    if (opcode >= 0x3D && opcode <= 0x3F)
        return 0;
    if (opcode >= 0x45 && opcode <= 0x47)
        return 8;
    if (opcode >= 0x4D && opcode <= 0x4F)
        return 0;
    if (opcode >= 0x55 && opcode <= 0x57)
        return 8;
    if (opcode >= 0x5D && opcode <= 0x5F)
        return 0;
    if (opcode >= 0x65 && opcode <= 0x67)
        return 12;
    if (opcode >= 0x6D && opcode <= 0x6F)
        return 4;
    if (opcode >= 0x75 && opcode <= 0x77)
        return PICT_LEN_REGION;
    if (opcode >= 0x7D && opcode <= 0x7F)
        return 0;
    // Reserved region opcodes carry a region like their neighbours.
    if (opcode >= 0x85 && opcode <= 0x87)
        return PICT_LEN_REGION;
    if (opcode >= 0x8D && opcode <= 0x8F)
        return 0;
    if ((opcode >= 0x92 && opcode <= 0x97) || (opcode >= 0x9C && opcode <= 0x9F))
        return PICT_LEN_VARIABLE;
    return 0;
}

}  // namespace

PictOpcodeInfo GetPictOpcodeInfo(int opcode)
{
    for (const NamedOpcode& entry : kNamed)
        if (entry.opcode == opcode)
            return {entry.name, entry.length};
    return {nullptr, ReservedLength(opcode)};
}
