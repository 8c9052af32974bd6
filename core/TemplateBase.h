#pragma once
// Value generators of URL-template tasks. Each runs through a range of values one step at a
// time and reports a carry when it wraps to its first value, so several of them chain like the
// wheels of an odometer. Definitions are stored in the task file, current values in the resume
// file, both as raw little-endian fields with no names or gaps.
#include <string>

class BlobReader;
class BlobWriter;

class TemplateBase {
public:
    virtual ~TemplateBase() = default;

    // A new generator of the same kind with the same definition and current value; the caller
    // owns it.
    virtual TemplateBase* Clone() const = 0;
    // "NumberTemplate", "CharTemplate" or "StringTemplate".
    virtual const char* GetTypeName() const = 0;
    // One line describing the generator, for the template editor's list.
    virtual std::string GetDisplayText() const = 0;
    virtual void SaveDefinition(BlobWriter& out) const = 0;
    // Reads the definition; the generator then stands at its first value. False when the stream
    // ends before the definition does: the generator keeps what it had (a string list keeps the
    // strings read completely).
    virtual bool LoadDefinition(BlobReader& in) = 0;
    virtual void SaveCurrent(BlobWriter& out) const = 0;
    // Reads the current value and brings it into range; false (value unchanged) on a short stream.
    virtual bool LoadCurrent(BlobReader& in) = 0;
    // The current value as it goes into the URL.
    virtual std::string GetValueText() const = 0;
    // Moves to the next value; true (carry) when it wrapped to the first value.
    virtual bool Advance() = 0;
    // Back to the first value.
    virtual void Reset() = 0;

protected:
    TemplateBase() = default;
    TemplateBase(const TemplateBase&) = default;
    TemplateBase& operator=(const TemplateBase&) = default;
};

// A new generator in its created state for an exact kind name, or null for any other name.
TemplateBase* CreateTemplate(const std::string& typeName);
