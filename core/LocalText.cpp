#include "core/LocalText.h"
#include "core/InternationalSupport.h"
#include "framework/AppModule.h"

std::string LocalText(unsigned id) {
    const char* text = g_InternationalSupport.GetString(id, g_Module.GetModuleInstance());
    return text ? std::string(text) : std::string();
}
