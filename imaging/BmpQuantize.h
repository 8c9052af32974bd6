#pragma once
// The 32 -> 8 bits per pixel conversion of CBmp::CreateCopy, done by the colour quantiser.
class CBmp;

// Makes dest an 8-bit copy of the 32-bit source with the given palette and dither modes.
void QuantizeBmpTo8(const CBmp& source, CBmp& dest, int paletteMode, int ditherMode);
