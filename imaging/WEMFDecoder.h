#pragma once
// Windows metafile decoder: WMF (plain or placeable) and EMF pictures are played by GDI into a
// white memory bitmap of the picture's own size.
#include <cstdint>
#include "imaging/PicDecoder.h"

class CWEMFDecoder : public CPicDecoder {
public:
    // 8 (WMF) or 9 (EMF) when the header bytes are a metafile's, or when they are not
    // recognisable and the file's own extension (not a folder's) is .wmf or .emf; else 0.
    static int DetectMetafile(const uint8_t* header, int headerBytes, const char* name);

protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;
};
