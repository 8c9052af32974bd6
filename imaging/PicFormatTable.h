#pragma once
// The formats CAnyPicDecoder can dispatch to: one entry per decoder, in creation order.
#include <cstddef>
#include <cstdint>

class CAnyPicDecoder;
class CPicDecoder;

struct PicFormatEntry {
    // Format codes (PLFileType) this decoder takes; 0 for an unused second slot.
    int fileTypes[2];
    // Trace line per code ("... recognized.\n").
    const char* traceTexts[2];
    // Makes the decoder; decoders made by earlier entries are reachable through
    // owner.GetDecoderFor (the PICT decoder takes the JPEG decoder that way).
    CPicDecoder* (*create)(CAnyPicDecoder& owner);
    // Optional sniffer run before content detection: returns one of fileTypes or 0.
    // header has headerBytes valid bytes (at most 512); name is the source's name.
    int (*detect)(const uint8_t* header, int headerBytes, const char* name);
};

// The table and its length.
const PicFormatEntry* GetPicFormatTable(size_t& count);

// The metafile decoder's entry (defined beside that decoder); null where metafiles are not built.
const PicFormatEntry* GetMetafileFormatEntry();
