#include "imaging/DecoderError.h"
#include "imaging/TextException.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
int g_TraceLevel = 0;
std::string g_TracePath;

void AppendToTraceFile(const char* text)
{
    if (g_TracePath.empty())
        return;
    FILE* f = fopen(g_TracePath.c_str(), "a+t");
    if (!f)
        return;
    fputs(text, f);
    fclose(f);
}
}  // namespace

void RaiseDecoderError(int code, const char* text)
{
    char line[1024];
    snprintf(line, sizeof line, "Decoder error: %s\n", text ? text : "");
    if (g_TraceLevel >= 0)
        AppendToTraceFile(line);
    throw CTextException(code, line);
}

void RaiseDecoderErrorF(int code, const char* format, ...)
{
    char text[900];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    RaiseDecoderError(code, text);
}

void Trace(int level, const char* text)
{
    if (level <= g_TraceLevel && text)
        AppendToTraceFile(text);
}

void TraceF(int level, const char* format, ...)
{
    if (level > g_TraceLevel || g_TracePath.empty())
        return;
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    AppendToTraceFile(text);
}

void SetTraceConfig(int level, const char* path)
{
    g_TraceLevel = level;
    g_TracePath = path ? path : "";
    if (!g_TracePath.empty())
        remove(g_TracePath.c_str());
}
