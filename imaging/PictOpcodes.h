#pragma once
// The QuickDraw opcodes 0x00..0xA1: trace name and how many data bytes follow.

// Special data lengths of PictOpcodeInfo::length.
enum {
    PICT_LEN_VARIABLE = -1,  // a 16-bit length follows, then that many bytes
    PICT_LEN_REGION = -2,    // region or polygon: a 16-bit size that counts itself
    PICT_LEN_TEXT = -3,      // text: a few fixed bytes, then a count byte and the characters
    PICT_LEN_SPECIAL = -4    // handled by the decoder itself
};

struct PictOpcodeInfo {
    const char* name;  // null for reserved opcodes
    int length;        // data bytes, or one of the values above
};

// Information for opcodes 0x00..0xA1; opcode must be in that range.
PictOpcodeInfo GetPictOpcodeInfo(int opcode);
