#pragma once
// Portable grey map decoder: plain (P2) and raw (P5) files, 8- and 16-bit samples.
#include "imaging/PicDecoder.h"

class CPGMDecoder : public CPicDecoder {
protected:
    void DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource) override;

private:
    // Reads one text line of at most 80 characters up to CR or LF. Kept for line-based headers.
    static void ReadLine(CDataSource* pSource, char* buffer, int bufferSize);
};
