#pragma once
// What the pages of the program options reach through their owner dialog.
class Application;

class OptionsDlgInterface {
public:
    // The application whose settings the dialog edits.
    virtual Application* GetApplication() = 0;

protected:
    ~OptionsDlgInterface() = default;
};
