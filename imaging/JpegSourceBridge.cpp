#include "imaging/JpegSourceBridge.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/IProgressInfo.h"
#include "imaging/TextException.h"

#include <cstring>
#include <jerror.h>

namespace {

// More scans than any sane encoder writes; progressive files with thousands of tiny scans
// are a known way to make the decoder spin.
const int kMaxScans = 1000;

const JOCTET kFakeEOI[2] = {0xFF, JPEG_EOI};

void ErrorExit(j_common_ptr cinfo)
{
    char message[JMSG_LENGTH_MAX + 2];
    (*cinfo->err->format_message)(cinfo, message);
    strcat(message, "\n");
    RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, message);
}

void OutputMessage(j_common_ptr cinfo)
{
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    TraceF(2, "JPEG: %s\n", message);
}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

void SupplyFakeEOI(j_decompress_ptr cinfo)
{
    // Premature end: warn as the library's own sources do and finish with an end-of-image
    // marker, so the part that is there is still shown.
    cinfo->err->msg_code = JWRN_JPEG_EOF;
    (*cinfo->err->emit_message)(reinterpret_cast<j_common_ptr>(cinfo), -1);
    cinfo->src->next_input_byte = kFakeEOI;
    cinfo->src->bytes_in_buffer = 2;
}

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    SupplyFakeEOI(cinfo);
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long numBytes)
{
    if (numBytes <= 0)
        return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(numBytes) < src->bytes_in_buffer) {
        src->next_input_byte += numBytes;
        src->bytes_in_buffer -= static_cast<size_t>(numBytes);
    } else {
        SupplyFakeEOI(cinfo);
    }
}

void ProgressMonitor(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor) {
        j_decompress_ptr d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->input_scan_number > kMaxScans)
            RaiseDecoderError(PL_ERRFORMAT_UNKNOWN, "JPEG file has too many scans.\n");
    }
    JpegSourceBridge* bridge = reinterpret_cast<JpegSourceBridge*>(
        reinterpret_cast<char*>(cinfo->progress) - offsetof(JpegSourceBridge, progress));
    IProgressInfo* receiver = bridge->pSource ? bridge->pSource->GetProgressReceiver() : nullptr;
    jpeg_progress_mgr* p = cinfo->progress;
    if (receiver && p->total_passes > 0 && p->pass_limit > 0) {
        double done = (static_cast<double>(p->pass_counter) / p->pass_limit + p->completed_passes) /
                      p->total_passes;
        receiver->OnProgress(done);
    }
}

}  // namespace

void InitJpegErrorManager(jpeg_error_mgr* err)
{
    jpeg_std_error(err);
    err->error_exit = ErrorExit;
    err->output_message = OutputMessage;
}

void InstallJpegSource(j_decompress_ptr cinfo, JpegSourceBridge* bridge, CDataSource* pSource)
{
    memset(bridge, 0, sizeof *bridge);
    bridge->pSource = pSource;
    bridge->pub.init_source = InitSource;
    bridge->pub.fill_input_buffer = FillInputBuffer;
    bridge->pub.skip_input_data = SkipInputData;
    bridge->pub.resync_to_restart = jpeg_resync_to_restart;
    bridge->pub.term_source = TermSource;
    bridge->pub.next_input_byte = pSource->ReadEverything();
    bridge->pub.bytes_in_buffer = pSource->GetRemaining();
    cinfo->src = &bridge->pub;
    bridge->progress.progress_monitor = ProgressMonitor;
    cinfo->progress = &bridge->progress;
}
