#include "core/TemplateTexts.h"

#include "core/InternationalSupport.h"

std::string TemplateKindText(unsigned id)
{
    const char* text = g_InternationalSupport.GetString(id, GetModuleHandleA(nullptr));
    return text ? std::string(text) : std::string();
}
