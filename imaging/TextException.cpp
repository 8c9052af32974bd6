#include "imaging/TextException.h"

#include <cstdlib>
#include <cstring>
#ifdef _WIN32
#include <windows.h>
#endif

static char* DupText(const char* text)
{
    if (!text)
        text = "";
    size_t len = strlen(text);
    char* copy = static_cast<char*>(malloc(len + 1));
    if (copy)
        memcpy(copy, text, len + 1);
    return copy;
}

CTextException::CTextException(int code, const char* text) : m_Code(code), m_pszText(DupText(text))
{
#ifdef _WIN32
    // A failing decode must not leave critical-error boxes suppressed or enabled by accident.
    SetErrorMode(0);
#endif
}

CTextException::CTextException(const CTextException& other)
    : CPLObject(), m_Code(other.GetCode()), m_pszText(DupText(other.GetText()))
{
}

CTextException& CTextException::operator=(const CTextException& other)
{
    if (this != &other) {
        char* copy = DupText(other.GetText());
        free(m_pszText);
        m_pszText = copy;
        m_Code = other.GetCode();
    }
    return *this;
}

CTextException::~CTextException()
{
    free(m_pszText);
}

int CTextException::GetCode() const
{
    return m_Code;
}

const char* CTextException::GetText() const
{
    return m_pszText ? m_pszText : "";
}
