#pragma once
// Glue between libjpeg and the image library: a memory source manager over a CDataSource,
// an error manager whose fatal errors become CTextException, and a progress monitor.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

class CDataSource;

struct JpegSourceBridge {
    jpeg_source_mgr pub;
    jpeg_progress_mgr progress;
    CDataSource* pSource;
};

// jpeg_std_error with our error exit and a silent message output.
void InitJpegErrorManager(jpeg_error_mgr* err);

// Points the decompressor at the rest of pSource (available = size minus position) and, when
// the source has a progress receiver, installs the progress monitor. A scan-count guard is
// always installed so that hostile progressive files cannot run for ever.
void InstallJpegSource(j_decompress_ptr cinfo, JpegSourceBridge* bridge, CDataSource* pSource);
