#pragma once
// The one exception type of the image library: an error code and a message.
#include "imaging/PLObject.h"

// Error codes raised by the image library.
enum PLErrorCode {
    PL_ERROPEN_FAILED = -1,     // opening a file sink failed
    PL_ERRWRONG_SIGNATURE = 1,  // not a picture of the expected kind / format library open error
    PL_ERRFORMAT_ERROR = 2,     // bad header or unsupported depth
    PL_ERRPATH_NOT_FOUND = 3,
    PL_ERRFILE_NOT_FOUND = 4,   // any other open error
    PL_ERRACCESS_DENIED = 5,
    PL_ERRFORMAT_UNKNOWN = 6,   // format library error or unsupported feature
    PL_ERRINTERNAL = 7,         // corrupt data found while decoding
    PL_ERRUNKNOWN_FILE_TYPE = 8,
    PL_ERRNO_MEMORY = 10,       // out of memory, or picture larger than we accept
    PL_ERREND_OF_FILE = 11      // data ended early / sink overflow
};

class CTextException : public CPLObject {
public:
    CTextException(int code, const char* text);
    CTextException(const CTextException& other);
    CTextException& operator=(const CTextException& other);
    ~CTextException() override;

    virtual int GetCode() const;
    virtual const char* GetText() const;

private:
    int m_Code;
    char* m_pszText;
};
