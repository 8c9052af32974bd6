#pragma once
// The task kind that generates its addresses: the URL of its first start address holds numbered
// placeholders "{1}", "{2}"... each filled by a value generator; the generators advance like an
// odometer, generator 1 fastest. The download manager asks for one address at a time.
#include <cstdint>
#include <string>
#include <vector>

#include "core/TaskOptions.h"

class TemplateBase;

class ConstructLinkTask : public TaskOptions {
public:
    static const char* const kTaskExtension;  // ".task2"

    ConstructLinkTask();
    ~ConstructLinkTask() override;

    void Reset() override;
    bool GetNextGeneratedUrl(std::string& url) override;
    // Drops every URL of no known file type (file-type groups of the settings).
    void FilterFoundLinks(std::vector<std::string>& urls) override;
    // "TaskInfo" of the resume file: the generators' current values.
    void LoadProgress(PropertyBag& bag) override;
    void SaveProgress(PropertyBag& bag) override;
    // Seeds nothing: returns "". A run that starts with an empty queue begins at the first
    // combination, unless the generators were just restored from the resume file of an
    // unfinished sequence: then the run continues from there.
    std::string GetStartUrl() override;
    std::string GetDisplayUrl() override;
    int GetTreeIconIndex(int stateIconIndex) override { return stateIconIndex + 5; }
    const char* GetFileExtension() const override { return kTaskExtension; }
    std::string GetWebAuthorizationUrl() const override { return WebAuthUrl; }
    bool AbortOnRepeatedFailures() const override { return false; }
    void SaveOwnKeys(PropertyBag& bag) const override;
    bool LoadOwnKeys(PropertyBag& bag) override;

    // The placeholder generator index (from 0) fills: "{1}" for the first.
    static std::string Placeholder(size_t index);
    // One expansion of text: the first occurrence of each "{i}" is replaced by generator i's
    // value, then the generators advance like an odometer; done is set after the last
    // combination. False (out untouched) when done was already set.
    static bool ExpandTemplate(std::string& out, const std::string& text, const std::vector<TemplateBase*>& generators,
                               bool& done);
    // Up to count addresses from the first combination on, made with copies: the generators given
    // are not changed.
    static std::vector<std::string> BuildLinks(size_t count, const std::string& text,
                                               const std::vector<TemplateBase*>& generators);

    // The generators, owned by the task (the template editors add, replace and delete them; a
    // removed generator must be deleted by whoever removes it).
    std::vector<TemplateBase*>& GetTemplates() { return templates_; }
    const std::vector<TemplateBase*>& GetTemplates() const { return templates_; }
    // Deletes every generator.
    void ClearTemplates();
    bool IsDone() const { return done_; }

    std::string WebAuthUrl;  // where the login browser opens

private:
    std::vector<TemplateBase*> templates_;
    bool done_ = false;
    // Set when LoadProgress restored every generator's value; consumed by GetStartUrl.
    bool progressRestored_ = false;
};
