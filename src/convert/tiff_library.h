#pragma once
// libtiff, opened on first use: it and the libraries it needs take about a millisecond to load at
// every start of the program, and most runs never meet a TIFF file.
#include <tiffio.h>

namespace ts {

struct TiffLibrary {
    decltype(&TIFFClientOpen) clientOpen;
    decltype(&TIFFClose) close;
    decltype(&TIFFDefaultStripSize) defaultStripSize;
    decltype(&TIFFGetField) getField;
    decltype(&TIFFGetFieldDefaulted) getFieldDefaulted;
    decltype(&TIFFRGBAImageOK) rgbaImageOK;
    decltype(&TIFFReadRGBAImageOriented) readRGBAImageOriented;
    decltype(&TIFFSetErrorHandler) setErrorHandler;
    decltype(&TIFFSetField) setField;
    decltype(&TIFFSetWarningHandler) setWarningHandler;
    decltype(&TIFFWriteScanline) writeScanline;
};

// The library with its messages silenced, or null when it cannot be loaded.
const TiffLibrary* tiffLibrary();

}  // namespace ts
