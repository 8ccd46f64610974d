// The image loaders against the Qt loader the program had before: every image file under tests/
// and examples/ must decode to the same pixels (alpha included) and the same colour table, in the
// same order. Kept as long as the Qt loader is around to compare with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/image_file.h"
#include "test_support.h"

#ifdef TS_HAVE_QT_REFERENCE
#include "reference/qt_image_loader.h"

using namespace ts;

namespace {

std::vector<std::string> imageFiles() {
    std::vector<std::string> files;
    for (const char* root : {TS_SOURCE_DIR "/tests", TS_SOURCE_DIR "/examples"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file()) continue;
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
            for (const char* known : {".png", ".bmp", ".jpg", ".jpeg", ".gif", ".tif", ".tiff"})
                if (extension == known) files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool viaQt(const std::string& bytes) {
    return bytes.rfind("\x89PNG", 0) == 0 || bytes.rfind("BM", 0) == 0 || bytes.rfind("\xFF\xD8\xFF", 0) == 0;
}

// A 1-bit BMP whose first colour is darker than its second: the Qt loader swapped the two
// (entries and pixel bits); the table now stays in file order, as for every other file.
bool qtSwappedTheTable(const std::string& bytes, const DecodedImage& now) {
    if (bytes.size() < 30 || bytes.rfind("BM", 0) != 0 || bytes[28] != 1 || now.colourTable.size() != 2) return false;
    const auto grey = [](uint32_t c) { return ((c >> 16 & 255) * 11 + (c >> 8 & 255) * 16 + (c & 255) * 5) / 32; };
    return grey(now.colourTable[0]) < grey(now.colourTable[1]);
}

// Files that the Qt loader read wrongly, each with a test of its own in image_file_bmp_test.cpp or
// image_file_png_test.cpp.
bool knownDifference(const std::string& file) {
    for (const char* name : {
             "/rle8-skip.bmp",    // the skipped pixels were whatever the memory held; now the first colour
             "/rgb16-trns.png",   // 16-bit colour with a transparent colour: 6-byte pixels read as 8
         })
        if (file.size() >= std::strlen(name) && file.compare(file.size() - std::strlen(name), std::string::npos, name) == 0)
            return true;
    return false;
}

}  // namespace

TEST(LoaderComparison, EveryImageDecodesAsWithTheQtLoader) {
    const std::vector<std::string> files = imageFiles();
    ASSERT_GE(files.size(), 60u);
    int compared = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string bytes = test::readFile(file);
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        DecodedImage now;
        const DecodeResult result = decodeImage(data, bytes.size(), now);
        ASSERT_EQ(result, DecodeResult::Ok);
        if (!viaQt(bytes) || knownDifference(file)) continue;  // GIF and TIFF files go through the same decoders as before
        DecodedImage old;
        ASSERT_EQ(test::decodeWithQtLoader(data, bytes.size(), old), DecodeResult::Ok);
        ASSERT_EQ(now.surface.width, old.surface.width);
        ASSERT_EQ(now.surface.height, old.surface.height);
        std::vector<uint32_t> oldTable = old.colourTable;
        if (qtSwappedTheTable(bytes, now)) std::swap(oldTable[0], oldTable[1]);
        EXPECT_EQ(now.colourTable, oldTable);
        int differences = 0;
        for (int y = 0; y < now.surface.height; ++y)
            for (int x = 0; x < now.surface.width; ++x)
                if (now.surface.at(x, y) != old.surface.at(x, y) && ++differences <= 3)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex << now.surface.at(x, y)
                                  << " instead of " << old.surface.at(x, y);
        EXPECT_EQ(differences, 0);
        ++compared;
    }
    EXPECT_GE(compared, 60);
}

#endif
