#pragma once
// Progress of a long operation on the UI thread (a bar over the main window's status bar): begin
// with a range and a status text, one step per item, end. The main frame implements it.
class ILongOperationProgress {
public:
    virtual void BeginProgress(int range, const char* text) = 0;
    virtual void StepProgress() = 0;
    virtual void EndProgress() = 0;

protected:
    ~ILongOperationProgress() = default;
};
