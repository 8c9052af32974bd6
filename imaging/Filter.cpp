#include "imaging/Filter.h"

#include "imaging/AnyBmp.h"

void CFilter::ApplyInPlace(CBmp* bmp) {
    CAnyBmp temp;  // destroyed on every path, also when the filter throws
    Apply(bmp, &temp);
    if (static_cast<CBmp*>(&temp) != bmp) bmp->CreateCopy(temp, 0);
}

void CFilter::Apply(CBmp* src, CBmp* dst) {
    if (src != dst) dst->CreateCopy(*src, 0);
    ApplyInPlace(dst);
}

CBmpLockScope::CBmpLockScope(CBmp* bmp, bool readable, bool writable) : bmp_(bmp) { bmp_->Lock(readable, writable); }

CBmpLockScope::~CBmpLockScope() { bmp_->Unlock(); }
