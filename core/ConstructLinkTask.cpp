#include "core/ConstructLinkTask.h"


#include "core/Application.h"
#include "core/FileTypes.h"
#include "core/ProgramSettings.h"
#include "core/PropertyBag.h"
#include "core/TemplateBase.h"
#include "core/TemplateBlobs.h"
#include "core/TextFormat.h"

const char* const ConstructLinkTask::kTaskExtension = ".task2";

ConstructLinkTask::ConstructLinkTask()
{
    // Template tasks do not filter by picture dimensions unless the user turns that on.
    MinimumWidth.enabled = false;
    MinimumHeight.enabled = false;
}

ConstructLinkTask::~ConstructLinkTask()
{
    ClearTemplates();
}

void ConstructLinkTask::ClearTemplates()
{
    for (TemplateBase* g : templates_)
        delete g;
    templates_.clear();
}

void ConstructLinkTask::Reset()
{
    done_ = false;
    progressRestored_ = false;
    for (TemplateBase* g : templates_)
        g->Reset();
}

bool ConstructLinkTask::GetNextGeneratedUrl(std::string& url)
{
    if (StartingAddresses.empty())
        return false;
    return ExpandTemplate(url, StartingAddresses.front().Url, templates_, done_);
}

void ConstructLinkTask::FilterFoundLinks(std::vector<std::string>& urls)
{
    const ProgramSettings* settings = g_Application ? g_Application->GetSettings() : nullptr;
    static const std::vector<FileTypeGroup> defaults = DefaultFileTypeGroups();
    const std::vector<FileTypeGroup>& groups = settings ? settings->Filetypes : defaults;
    std::vector<std::string> kept;
    kept.reserve(urls.size());
    for (std::string& url : urls)
        if (IsKnownFileType(groups, url, nullptr))
            kept.push_back(std::move(url));
    urls.swap(kept);
}

void ConstructLinkTask::LoadProgress(PropertyBag& bag)
{
    progressRestored_ = false;
    // Whether the last combination was already handed out: without it a run resumed after the
    // program restarted would generate the whole sequence again once its queue drained.
    bool done = false;
    done_ = bag.GetFlag("TaskInfoDone", done) && done;
    const PropertyBagValue* value = bag.Find("TaskInfo");
    if (value == nullptr || value->GetSize() == 0)
        return;
    bool mismatch = false;
    progressRestored_ = DecodeTemplateValues(value->GetData(), value->GetSize(), templates_, mismatch);
    if (mismatch)
        bag.SetValue("TaskInfo", nullptr, 0);
}

void ConstructLinkTask::SaveProgress(PropertyBag& bag)
{
    bag.SetBlob("TaskInfo", EncodeTemplateValues(templates_));
    bag.SetFlag("TaskInfoDone", done_);
}

std::string ConstructLinkTask::GetStartUrl()
{
    // Resuming an unfinished sequence (after a stop, a pause or a crash with a periodic save)
    // goes on from the restored values; anything else starts from the first combination.
    if (!progressRestored_ || done_)
        Reset();
    progressRestored_ = false;
    return std::string();
}

std::string ConstructLinkTask::GetDisplayUrl()
{
    if (StartingAddresses.empty())
        return std::string();
    const std::vector<std::string> links = BuildLinks(1, StartingAddresses.front().Url, templates_);
    return links.empty() ? std::string() : links.front();
}

void ConstructLinkTask::SaveOwnKeys(PropertyBag& bag) const
{
    bag.SetString("WebAuthUrl", WebAuthUrl);
    bag.SetBlob("Templates", EncodeTemplateDefinitions(templates_));
}

bool ConstructLinkTask::LoadOwnKeys(PropertyBag& bag)
{
    bag.GetString("WebAuthUrl", WebAuthUrl);
    const PropertyBagValue* value = bag.Find("Templates");
    if (value == nullptr || value->GetSize() == 0)
        return true;
    if (DecodeTemplateDefinitions(value->GetData(), value->GetSize(), templates_))
        return true;
    bag.SetValue("Templates", nullptr, 0);
    return false;
}

std::string ConstructLinkTask::Placeholder(size_t index)
{
    return FormatText("{%u}", static_cast<unsigned>(index + 1));
}

bool ConstructLinkTask::ExpandTemplate(std::string& out, const std::string& text,
                                       const std::vector<TemplateBase*>& generators, bool& done)
{
    if (done)
        return false;
    std::string url = text;
    for (size_t i = 0; i < generators.size(); ++i) {
        const std::string placeholder = Placeholder(i);
        const size_t at = url.find(placeholder);
        if (at != std::string::npos)
            url.replace(at, placeholder.size(), generators[i]->GetValueText());
    }
    bool carry = true;
    for (size_t i = 0; carry && i < generators.size(); ++i)
        carry = generators[i]->Advance();
    if (carry)
        done = true;
    out = url;
    return true;
}

std::vector<std::string> ConstructLinkTask::BuildLinks(size_t count, const std::string& text,
                                                       const std::vector<TemplateBase*>& generators)
{
    std::vector<std::string> links;
    if (count == 0)
        return links;
    std::vector<TemplateBase*> copies;
    copies.reserve(generators.size());
    for (const TemplateBase* g : generators) {
        TemplateBase* copy = g->Clone();
        copy->Reset();
        copies.push_back(copy);
    }
    bool done = false;
    std::string url;
    while (links.size() < count && ExpandTemplate(url, text, copies, done))
        links.push_back(url);
    for (TemplateBase* copy : copies)
        delete copy;
    return links;
}
