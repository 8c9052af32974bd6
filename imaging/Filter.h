#pragma once
// Base of every bitmap filter: a filter reads a source bitmap and fills a destination bitmap,
// or changes one bitmap in place. Each default implementation calls the other, so a concrete
// filter overrides at least one of them.
#include "imaging/PLObject.h"

class CBmp;

class CFilter : public CPLObject {
public:
    CFilter() {}
    ~CFilter() override {}

    // Applies the filter into a temporary bitmap, then makes `bmp` a copy of it.
    virtual void ApplyInPlace(CBmp* bmp);
    // Default: `dst` becomes a copy of `src`, then is filtered in place.
    virtual void Apply(CBmp* src, CBmp* dst);

private:
    CFilter(const CFilter&) = delete;
    CFilter& operator=(const CFilter&) = delete;
};

// Keeps a bitmap's lock count raised for one scope.
class CBmpLockScope {
public:
    CBmpLockScope(CBmp* bmp, bool readable, bool writable);
    ~CBmpLockScope();

private:
    CBmp* bmp_;
    CBmpLockScope(const CBmpLockScope&) = delete;
    CBmpLockScope& operator=(const CBmpLockScope&) = delete;
};
