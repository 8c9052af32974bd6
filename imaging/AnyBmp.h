#pragma once
// Bitmap whose pixels live in one heap block.
#include "imaging/Bmp.h"

class CAnyBmp : public CBmp {
public:
    CAnyBmp();
    ~CAnyBmp() override;
    CAnyBmp& operator=(const CBmp& source)
    {
        CBmp::operator=(source);
        return *this;
    }
    // Spelled out: the one the compiler would write copies the pixel pointer as well, and two
    // bitmaps would then free one block.
    CAnyBmp& operator=(const CAnyBmp& source)
    {
        CBmp::operator=(source);
        return *this;
    }

    int GetMemUsed() override;
    int GetBytesPerLine() override;
    // The whole pixel block: height x GetBytesPerLine() bytes, top row first.
    uint8_t* GetPixels() const { return m_pBits; }

protected:
    void InternalCreate(int width, int height, uint16_t bpp, bool hasAlpha) override;
    void FreeMembers() override;
    void InitLineArray() override;

private:
    uint8_t* m_pBits = nullptr;
};
