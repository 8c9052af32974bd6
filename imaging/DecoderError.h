#pragma once
// Error raising and the (normally silent) trace facility of the image library.

// Formats "Decoder error: <text>\n", traces it and throws CTextException(code, that line).
[[noreturn]] void RaiseDecoderError(int code, const char* text);

// printf-style convenience on top of RaiseDecoderError.
[[noreturn]] void RaiseDecoderErrorF(int code, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Appends text to the trace file when level <= trace level and a trace file is set.
void Trace(int level, const char* text);
void TraceF(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Sets the trace level and file (null for none); an existing file at the path is deleted.
void SetTraceConfig(int level, const char* path);
