#pragma once
// Abstract picture decoder: turns a file, a memory block or a resource into a CBmp through a
// data source and the format's DecodeImage.
#include <cstddef>
#include <cstdint>
#include <vector>
#include "imaging/PLObject.h"
#include "imaging/Bmp.h"

class CDataSource;
class IProgressInfo;

// A 256-entry colour table a decoder may fill while decoding (freed by DecodeSource).
typedef std::vector<PLPixel32> CPaletteTable;

class CPicDecoder : public CPLObject {
public:
    ~CPicDecoder() override;

    // Decodes the file at path into pBmp at wantedBpp bits per pixel (0: 8 for inputs of up to
    // 8 bits, else 32). Raises CTextException on every failure.
    // (Not virtual: it lives apart, so the decoders build without the Windows file source.)
    void DecodeFile(const char* path, CBmp* pBmp, int wantedBpp, IProgressInfo* progress = nullptr);
    virtual void DecodeMemory(const uint8_t* data, size_t size, CBmp* pBmp, int wantedBpp);
    virtual void DecodeSource(CDataSource* pSource, CBmp* pBmp, int wantedBpp);
    // module is an HMODULE; resourceType null means RT_RCDATA.
    void DecodeResource(void* module, int resourceId, CBmp* pBmp, int wantedBpp,
                        const char* resourceType = nullptr);

protected:
    // The format's work: read from pSource, Create the bitmap and fill its rows. wantedBpp may
    // be updated to the depth chosen. palette is empty on entry.
    virtual void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource);

    // 0 becomes 8 for inputs of 8 bits per pixel or fewer and 32 for the rest.
    static int ChooseTargetBpp(int wantedBpp, int inputBpp);
};
