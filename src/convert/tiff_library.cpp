#include "convert/tiff_library.h"

#include <dlfcn.h>

namespace ts {

namespace {

template <typename Function>
bool bind(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

bool open(TiffLibrary& lib) {
    void* handle = dlopen(TS_TIFF_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return false;
    const bool complete =
        bind(handle, "TIFFClientOpen", lib.clientOpen) && bind(handle, "TIFFClose", lib.close) &&
        bind(handle, "TIFFDefaultStripSize", lib.defaultStripSize) && bind(handle, "TIFFGetField", lib.getField) &&
        bind(handle, "TIFFGetFieldDefaulted", lib.getFieldDefaulted) &&
        bind(handle, "TIFFRGBAImageOK", lib.rgbaImageOK) &&
        bind(handle, "TIFFReadRGBAImageOriented", lib.readRGBAImageOriented) &&
        bind(handle, "TIFFSetErrorHandler", lib.setErrorHandler) && bind(handle, "TIFFSetField", lib.setField) &&
        bind(handle, "TIFFSetWarningHandler", lib.setWarningHandler) &&
        bind(handle, "TIFFWriteScanline", lib.writeScanline);
    if (!complete) {
        dlclose(handle);
        return false;
    }
    // The codecs report failures through their results; libtiff's own messages would only reach
    // the terminal.
    lib.setErrorHandler(nullptr);
    lib.setWarningHandler(nullptr);
    return true;  // the library stays loaded for the rest of the run
}

}  // namespace

const TiffLibrary* tiffLibrary() {
    static TiffLibrary lib;
    static const bool loaded = open(lib);
    return loaded ? &lib : nullptr;
}

}  // namespace ts
