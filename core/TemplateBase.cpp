#include "core/TemplateBase.h"

#include "core/CharTemplate.h"
#include "core/NumberTemplate.h"
#include "core/StringTemplate.h"

TemplateBase* CreateTemplate(const std::string& typeName)
{
    if (typeName == NumberTemplate::kTypeName)
        return new NumberTemplate();
    if (typeName == StringTemplate::kTypeName)
        return new StringTemplate();
    if (typeName == CharTemplate::kTypeName)
        return new CharTemplate();
    return nullptr;
}
