#pragma once
// Root of the image library's class family.

class CPLObject {
public:
    virtual ~CPLObject() {}
    // Debug hook kept for derived classes; does nothing.
    virtual void AssertValid() const {}
};
