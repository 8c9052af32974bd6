#include "core/TemplateTexts.h"

#include "core/LocalText.h"

std::string TemplateKindText(unsigned id)
{
    return LocalText(id);
}
