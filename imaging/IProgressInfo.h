#pragma once
// Receiver of progress reports from long work (decoding, drawing effects).

class IProgressInfo {
public:
    virtual ~IProgressInfo() {}
    // value runs from 0.0 to 1.0; nonzero = go on, 0 = stop (decoders ignore the result).
    virtual int OnProgress(double value) = 0;
};
