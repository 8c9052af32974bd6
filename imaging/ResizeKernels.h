#pragma once
// Resampling kernels of the two-pass resize: each gives the weight of a source sample at
// distance x for a kernel of the given width.

class CGenericFilter {
public:
    explicit CGenericFilter(double width) : m_dWidth(width) {}
    virtual ~CGenericFilter() {}
    virtual double Filter(double x) = 0;
    double GetWidth() const { return m_dWidth; }

protected:
    double m_dWidth;
};

// Triangle: width - |x| inside the width.
class CBilinearFilter : public CGenericFilter {
public:
    explicit CBilinearFilter(double width = 1.0) : CGenericFilter(width) {}
    double Filter(double x) override;
};

// 1 within the width.
class CBoxFilter : public CGenericFilter {
public:
    explicit CBoxFilter(double width = 0.5) : CGenericFilter(width) {}
    double Filter(double x) override;
};

class CGaussianFilter : public CGenericFilter {
public:
    explicit CGaussianFilter(double width = 3.0) : CGenericFilter(width) {}
    double Filter(double x) override;
};

// Hamming-windowed sinc; its negative lobes can push sums outside 0..255.
class CHammingFilter : public CGenericFilter {
public:
    explicit CHammingFilter(double width = 0.5) : CGenericFilter(width) {}
    double Filter(double x) override;
};
