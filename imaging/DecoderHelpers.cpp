#include "imaging/DecoderHelpers.h"
#include "imaging/DataSource.h"
#include "imaging/TextException.h"

void RequireRemaining(CDataSource* pSource, uint64_t bytes)
{
    if (bytes > pSource->GetRemaining())
        throw CTextException(PL_ERREND_OF_FILE, "End of file reached while decoding.\n");
}
