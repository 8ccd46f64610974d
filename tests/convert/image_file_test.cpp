// Image input and output: colour tables and used entries, the mask colour, saving by extension
// and untrusted files.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <png.h>
#include <cstring>
#include <string>
#include <vector>

#include "convert/colour_effects.h"
#include "convert/image_file.h"
#include "convert/image_file_codecs.h"
#include "convert/quantize.h"
#include "formats/platform.h"
#include "host/file_system.h"
#include "resources/texts.h"
#include "test_support.h"

using namespace ts;

namespace {

uint32_t tableColour(int i) { return 0xFF000000u | uint32_t(i) << 16 | uint32_t(255 - i) << 8 | uint32_t((i * 7) & 255); }

// An indexed PNG with the given table whose pixels (x, 0) and (x, 1) use entry indices[x].
void writeIndexedPng(const std::string& path, const std::vector<uint32_t>& table,
                     const std::vector<int>& indices) {
    Surface s;
    ASSERT_TRUE(createSurface(s, int(indices.size()), 2));
    EncodeInput in{&s, {}, {}};
    for (uint32_t c : table) in.table.push_back(c & 0xFFFFFF);
    for (int y = 0; y < 2; ++y)
        for (int i : indices) in.indices.push_back(uint8_t(i));
    std::string bytes;
    ASSERT_TRUE(encodePng(in, bytes));
    test::writeFile(path, bytes);
}

// A true-colour PNG with alpha, pixels 0xAARRGGBB row by row.
void writeRgbaPng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_BGRA;
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), width * 4, nullptr));
}

// A GIF through the program's own saver: the table is written as given.
void writeIndexedGif(const std::string& path, const std::vector<uint32_t>& table,
                     const std::vector<int>& indices) {
    Surface s;
    ASSERT_TRUE(createSurface(s, int(indices.size()), 2));
    for (int y = 0; y < 2; ++y)
        for (size_t x = 0; x < indices.size(); ++x) s.at(int(x), y) = table[size_t(indices[x])] & 0xFFFFFF;
    ASSERT_TRUE(saveImageFile(s, table, path));
}

std::vector<uint32_t> table256() {
    std::vector<uint32_t> t;
    for (int i = 0; i < 256; ++i) t.push_back(tableColour(i));
    return t;
}

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i < to; ++i) v.push_back(i);
    return v;
}

using Writer = void (*)(const std::string&, const std::vector<uint32_t>&, const std::vector<int>&);

void checkUsedEntries(Writer write, const std::string& extension) {
    test::TempDir dir;
    test::TestApp t;
    int w = 0, h = 0;
    write(dir.file("ten" + extension), table256(), range(0, 10));
    ASSERT_TRUE(loadImageFile(t.app, dir.file("ten" + extension), w, h));
    EXPECT_EQ(t.app.convert.sourceColourTable.size(), 256u);
    EXPECT_EQ(t.app.convert.usedEntries, 10);
    EXPECT_EQ(t.app.convert.sourceColourTable[9] & 0xFFFFFF, tableColour(9) & 0xFFFFFF);

    write(dir.file("two" + extension), table256(), {0, 200, 0});
    ASSERT_TRUE(loadImageFile(t.app, dir.file("two" + extension), w, h));
    EXPECT_EQ(t.app.convert.usedEntries, 201);

    // Entry 5 repeats entry 2: a pixel of that colour marks entry 2 only.
    std::vector<uint32_t> dup = table256();
    dup[5] = dup[2];
    write(dir.file("dup" + extension), dup, {0, 1, 5});
    ASSERT_TRUE(loadImageFile(t.app, dir.file("dup" + extension), w, h));
    EXPECT_EQ(t.app.convert.usedEntries, 3);
}

std::string le32(uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string le16(uint32_t v) { return std::string{char(v), char(v >> 8)}; }

DecodeResult decodeBytes(const std::string& bytes, DecodedImage& out) {
    return decodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

}  // namespace

TEST(ImageLoad, UsedEntriesOfIndexedPng) { checkUsedEntries(writeIndexedPng, ".png"); }
TEST(ImageLoad, UsedEntriesOfIndexedGif) { checkUsedEntries(writeIndexedGif, ".gif"); }

TEST(ImageLoad, MaskColourIsExact) {
    test::TempDir dir;
    test::TestApp t;
    writeRgbaPng(dir.file("m.png"), 2, 1, {0xFFFF00FEu, 0xFFFF00FFu});
    int w = 0, h = 0;
    ASSERT_TRUE(loadImageFile(t.app, dir.file("m.png"), w, h));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(t.app.convert.decodeSurface.at(0, 0), 0u);
    EXPECT_EQ(t.app.convert.decodeSurface.at(1, 0), 0xFFFF00FFu);
    EXPECT_TRUE(t.app.convert.sourceColourTable.empty());
    EXPECT_EQ(t.app.convert.usedEntries, 0);
}

TEST(ImageLoad, PngAlphaSurvivesInTheRgbaDepth) {
    test::TempDir dir;
    test::TestApp t;
    writeRgbaPng(dir.file("a.png"), 2, 1, {0x800A141Eu, 0xFFFF00FEu});
    setCurrentDepthIndex(t.app, 3);
    int w = 0, h = 0;
    ASSERT_TRUE(loadImageFile(t.app, dir.file("a.png"), w, h));
    EXPECT_EQ(t.app.convert.decodeSurface.at(0, 0), 0x800A141Eu);
    EXPECT_EQ(t.app.convert.decodeSurface.at(1, 0), 0xFFFF00FEu);  // no mask in this depth
    // In the 8-bit depth the alpha becomes opaque.
    setCurrentDepthIndex(t.app, 1);
    ASSERT_TRUE(loadImageFile(t.app, dir.file("a.png"), w, h));
    EXPECT_EQ(t.app.convert.decodeSurface.at(0, 0), 0xFF0A141Eu);
    EXPECT_EQ(t.app.convert.decodeSurface.at(1, 0), 0u);
}

// The conversion surface is a copy of the image loaded for the conversion, whatever happens to
// the decode surface afterwards: a new image, or the optimal method's effect colours.
TEST(ImageLoad, ConversionSurfaceKeepsItsImage) {
    test::TempDir dir;
    test::TestApp t;
    App& app = t.app;
    writeIndexedPng(dir.file("a.png"), table256(), {1, 2, 3});
    writeIndexedPng(dir.file("b.png"), table256(), {7, 8, 9, 10});
    int w = 0, h = 0;
    ASSERT_TRUE(loadSourceImage(app, dir.file("a.png"), w, h, true));
    ASSERT_TRUE(loadImageFile(app, dir.file("b.png"), w, h));
    EXPECT_EQ(app.convert.pixelSource, PixelSourceKind::Decode);
    EXPECT_EQ(app.convert.decodeSurface.at(3, 1), tableColour(10));
    selectPixelSource(app, PixelSourceKind::Conversion);
    EXPECT_EQ(app.convert.window.x1, 3);
    uint32_t p = 0;
    ASSERT_TRUE(sourcePixel(app, 2, 1, p));
    EXPECT_EQ(p, tableColour(3));

    setCurrentDepthIndex(app, 3);  // 8-bit components, colour 0 opaque
    rebuildEffectTables(app);
    for (int i = 0; i < 256; ++i) app.convert.effects.red[size_t(i)] = uint8_t(255 - i);
    ASSERT_TRUE(loadSourceImage(app, dir.file("b.png"), w, h, true));
    IndexImage image;
    ASSERT_TRUE(image.resize(4, 2));
    WorkingPalette palette;
    QuantizePositions pos;
    pos.limit = 256;
    ASSERT_EQ(quantizeOptimal(app, image, palette, pos), 4);
    const uint32_t original = tableColour(10);
    EXPECT_EQ(app.convert.decodeSurface.at(3, 0), (original & 0xFF00FFFFu) | (255u - ((original >> 16) & 255u)) << 16);
    ASSERT_TRUE(sourcePixel(app, 3, 0, p));
    EXPECT_EQ(p, original);
    EXPECT_EQ(palette[size_t(image.values[3])], app.convert.decodeSurface.at(3, 0));
}

TEST(ImageLoad, SourceImageCopyAndHalftoneException) {
    test::TempDir dir;
    test::TestApp t;
    writeIndexedPng(dir.file("s.png"), table256(), {1, 2, 3});
    int w = 0, h = 0;
    ASSERT_TRUE(loadSourceImage(t.app, dir.file("s.png"), w, h, true));
    EXPECT_EQ(t.app.convert.pixelSource, PixelSourceKind::Conversion);
    EXPECT_EQ(currentPixelSource(t.app)->pixels, t.app.convert.decodeSurface.pixels);
    EXPECT_EQ(t.app.convert.window.x1, 3);
    EXPECT_EQ(t.app.convert.window.y1, 2);
    uint32_t p = 0;
    EXPECT_TRUE(sourcePixel(t.app, 2, 1, p));
    EXPECT_EQ(p, tableColour(3));
    EXPECT_FALSE(sourcePixel(t.app, 3, 0, p));
    EXPECT_FALSE(sourcePixel(t.app, 0, -1, p));

    t.app.convert.quantization = 1;
    ASSERT_TRUE(loadSourceImage(t.app, dir.file("s.png"), w, h, true));
    EXPECT_EQ(t.app.convert.pixelSource, PixelSourceKind::Decode);
    EXPECT_TRUE(t.app.convert.conversionSurface.empty());
    ASSERT_TRUE(loadSourceImage(t.app, dir.file("s.png"), w, h, false));
    EXPECT_EQ(t.app.convert.pixelSource, PixelSourceKind::Conversion);
}

TEST(ImageLoad, SourceRowsMatchSourcePixelsThroughShiftedWindows) {
    test::TestApp t;
    Surface& s = t.app.convert.conversionSurface;
    ASSERT_TRUE(createSurface(s, 5, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) s.at(x, y) = uint32_t(0xFF000000u | (y << 8) | x);
    t.app.convert.pixelSource = PixelSourceKind::Conversion;
    const SourceWindow windows[] = {{0, 0, 5, 4}, {2, 1, 5, 4}, {-2, -1, 5, 4}, {1, 0, 3, 9},
                                    {0, 0, 9, 9}, {6, 0, 9, 4}, {-9, 0, 2, 4}, {3, 3, 2, 2}};
    for (const SourceWindow& w : windows) {
        t.app.convert.window = w;
        for (int y = -1; y < 6; ++y) {
            for (int width : {0, 3, 8}) {
                const SourceRow row = sourceRow(t.app, y, width);
                for (int x = 0; x < width; ++x) {
                    uint32_t p = 0;
                    const bool has = sourcePixel(t.app, x, y, p);
                    const bool inRow = x >= row.begin && x < row.end;
                    ASSERT_EQ(inRow, has) << w.x0 << "," << w.y0 << " y=" << y << " x=" << x;
                    if (has) {
                        EXPECT_EQ(row.pixels[x + row.offset], p);
                    }
                }
            }
        }
    }
    t.app.convert.pixelSource = PixelSourceKind::None;
    EXPECT_EQ(sourceRow(t.app, 0, 5).end, 0);
}

TEST(ImageLoad, PaletteTiffAndJpeg) {
    test::TempDir dir;
    test::TestApp t;
    std::vector<uint32_t> table;
    for (int i = 0; i < 16; ++i) table.push_back(tableColour(i * 16));
    Surface s;
    ASSERT_TRUE(createSurface(s, 4, 4));
    for (int i = 0; i < 16; ++i) s.at(i % 4, i / 4) = table[size_t(i < 12 ? i : 0)] & 0xFFFFFF;
    ASSERT_TRUE(saveImageFile(s, table, dir.file("p.tiff")));
    int w = 0, h = 0;
    ASSERT_TRUE(loadImageFile(t.app, dir.file("p.tiff"), w, h));
    ASSERT_EQ(t.app.convert.sourceColourTable.size(), 256u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(t.app.convert.sourceColourTable[size_t(i)], table[size_t(i)]) << i;
    EXPECT_EQ(t.app.convert.usedEntries, 12);
    EXPECT_EQ(t.app.convert.decodeSurface.at(3, 2), table[11]);

    ASSERT_TRUE(saveImageFile(s, {}, dir.file("p.jpg")));
    ASSERT_TRUE(loadImageFile(t.app, dir.file("p.jpg"), w, h));
    EXPECT_EQ(w, 4);
    EXPECT_TRUE(t.app.convert.sourceColourTable.empty());
}

TEST(ImageSave, FormatFollowsTheExtensionCaseSensitively) {
    test::TempDir dir;
    Surface s;
    ASSERT_TRUE(createSurface(s, 3, 3));
    for (int i = 0; i < 9; ++i) s.at(i % 3, i / 3) = uint32_t(i) * 0x1F0F07;
    auto head = [&](const std::string& name, size_t n) { return test::readFile(dir.file(name)).substr(0, n); };

    ASSERT_TRUE(saveImageFile(s, {}, dir.file("a.tif")));
    EXPECT_EQ(head("a.tif.bmp", 2), "BM");
    EXPECT_FALSE(fileExists(dir.file("a.tif")));
    ASSERT_TRUE(saveImageFile(s, {}, dir.file("b.jpeg")));
    EXPECT_EQ(head("b.jpeg", 3), "\xFF\xD8\xFF");
    ASSERT_TRUE(saveImageFile(s, {}, dir.file("c.PNG")));
    EXPECT_EQ(head("c.PNG.bmp", 2), "BM");
    ASSERT_TRUE(saveImageFile(s, {}, dir.file("d.png")));
    EXPECT_EQ(head("d.png", 4), "\x89PNG");
    ASSERT_TRUE(saveImageFile(s, {}, dir.file("e.tiff")));
    EXPECT_EQ(head("e.tiff", 2), "II");
    ASSERT_TRUE(saveImageFile(s, {}, dir.file("f.gif")));
    EXPECT_EQ(head("f.gif", 4), "GIF8");
    ASSERT_TRUE(saveImageFile(s, {}, dir.file("noext")));
    EXPECT_EQ(head("noext.bmp", 2), "BM");

    // Lossless formats give the pixels back.
    for (const char* name : {"d.png", "e.tiff", "f.gif", "a.tif.bmp"}) {
        DecodedImage image;
        ASSERT_EQ(decodeImageFile(dir.file(name), image), DecodeResult::Ok) << name;
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(image.surface.at(i % 3, i / 3) & 0xFFFFFF, s.at(i % 3, i / 3)) << name << " " << i;
    }
    EXPECT_EQ(imageSaveName("x.jpg"), "x.jpg");
    EXPECT_EQ(imageSaveName("dir.png/x"), "dir.png/x.bmp");
}

TEST(ImageSave, GifOfManyColoursUsesTheHalftonePalette) {
    test::TempDir dir;
    Surface s;
    ASSERT_TRUE(createSurface(s, 64, 64));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) s.at(x, y) = uint32_t(x * 4) << 16 | uint32_t(y * 4) << 8 | 0x40;
    ASSERT_TRUE(saveImageFile(s, {}, dir.file("many.gif")));
    DecodedImage image;
    ASSERT_EQ(decodeImageFile(dir.file("many.gif"), image), DecodeResult::Ok);
    EXPECT_EQ(image.colourTable.size(), 256u);
    EXPECT_EQ(image.surface.width, 64);
}

TEST(ImagePaths, Extension) {
    EXPECT_EQ(pathExtension("a/b.c/d"), "");
    EXPECT_EQ(pathExtension("x.tar.gz"), "gz");
    EXPECT_EQ(pathExtension("dir.x\\file"), "");
    EXPECT_EQ(pathExtension("file."), "");
    EXPECT_EQ(pathExtension("c:\\img\\Pic.PNG"), "PNG");
}

TEST(ImageBadInput, HugeHeadersAreRefusedWithAMessage) {
    test::TempDir dir;
    test::TestApp t;
    // A BMP that claims 100000 x 100000 pixels.
    std::string bmp = "BM" + le32(70) + le32(0) + le32(54) + le32(40) + le32(100000) + le32(100000) +
                      le16(1) + le16(24) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) +
                      std::string(16, '\0');
    dir.write("huge.bmp", bmp);
    int w = 0, h = 0;
    EXPECT_FALSE(loadImageFile(t.app, dir.file("huge.bmp"), w, h));
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.lastCaption(), tr(T::CaptionError));
    EXPECT_NE(t.host.lastText().find("100000 x 100000"), std::string::npos);

    // A PNG header of 100000 x 100000 (the size is refused before any decoding).
    std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string("\0\0\0\x0dIHDR", 8) +
                      std::string("\x00\x01\x86\xA0\x00\x01\x86\xA0\x08\x02\x00\x00\x00", 13) +
                      std::string(4, '\0');
    DecodedImage pngImage;
    EXPECT_EQ(decodeBytes(png, pngImage), DecodeResult::TooLarge);
    EXPECT_EQ(pngImage.declaredWidth, 100000);

    // A GIF whose screen and image are 65535 x 65535.
    std::string gif = std::string("GIF89a") + le16(65535) + le16(65535) + std::string("\x80\x00\x00", 3) +
                      std::string("\x00\x00\x00\xFF\xFF\xFF", 6) + "," + le16(0) + le16(0) + le16(65535) +
                      le16(65535) + std::string("\x00\x02\x02\x44\x01\x00;", 8);
    DecodedImage image;
    EXPECT_EQ(decodeBytes(gif, image), DecodeResult::TooLarge);

    // A TIFF of 100000 x 100000 grey pixels.
    std::string tiff = std::string("II*\0", 4) + le32(8) + le16(9);
    auto entry = [](uint16_t tag, uint16_t type, uint32_t value) {
        return le16(tag) + le16(type) + le32(1) + (type == 3 ? le16(value) + le16(0) : le32(value));
    };
    tiff += entry(256, 4, 100000) + entry(257, 4, 100000) + entry(258, 3, 8) + entry(259, 3, 1) +
            entry(262, 3, 1) + entry(273, 4, 8) + entry(277, 3, 1) + entry(278, 4, 100000) +
            entry(279, 4, 1) + le32(0);
    EXPECT_EQ(decodeBytes(tiff, image), DecodeResult::TooLarge);
    EXPECT_TRUE(image.surface.empty());
}

TEST(ImageBadInput, TruncatedEmptyAndTablelessFilesFailQuietly) {
    test::TempDir dir;
    test::TestApp t;
    writeIndexedPng(dir.file("ok.png"), table256(), range(0, 40));
    writeIndexedGif(dir.file("ok.gif"), table256(), range(0, 40));
    for (const char* name : {"ok.png", "ok.gif"}) {
        const std::string bytes = test::readFile(dir.file(name));
        for (size_t cut = 0; cut < bytes.size(); cut += 7) {
            DecodedImage image;
            const DecodeResult r = decodeBytes(bytes.substr(0, cut), image);
            if (r == DecodeResult::Ok) {
        EXPECT_LE(image.colourTable.size(), 256u);
    }
            else EXPECT_TRUE(image.surface.empty());
        }
    }
    // A GIF with neither a global nor a local colour table.
    std::string gif = std::string("GIF89a") + le16(2) + le16(2) + std::string("\x00\x00\x00", 3) + "," +
                      le16(0) + le16(0) + le16(2) + le16(2) + std::string("\x00\x02\x02\x44\x01\x00;", 8);
    DecodedImage image;
    EXPECT_EQ(decodeBytes(gif, image), DecodeResult::Undecodable);
    // Zero-sized screen and image.
    std::string empty = std::string("GIF89a") + le16(0) + le16(0) + std::string("\x80\x00\x00", 3) +
                        std::string("\x00\x00\x00\xFF\xFF\xFF", 6) + "," + le16(0) + le16(0) + le16(0) +
                        le16(0) + std::string("\x00\x02\x02\x44\x01\x00;", 8);
    EXPECT_EQ(decodeBytes(empty, image), DecodeResult::Empty);
    dir.write("empty.gif", empty);
    int w = 0, h = 0;
    EXPECT_FALSE(loadImageFile(t.app, dir.file("empty.gif"), w, h));
    EXPECT_FALSE(loadImageFile(t.app, dir.file("missing.png"), w, h));
    EXPECT_TRUE(t.host.boxes.empty());
}

TEST(ImageBadInput, BmpWithMoreThan256PaletteEntries) {
    // An 8-bit BMP whose header claims 300 colours.
    std::string bmp = "BM" + le32(0) + le32(0) + le32(54 + 300 * 4) + le32(40) + le32(2) + le32(1) + le16(1) +
                      le16(8) + le32(0) + le32(4) + le32(0) + le32(0) + le32(300) + le32(0);
    for (int i = 0; i < 300; ++i) bmp += le32(uint32_t(i) * 0x010101u);
    bmp += std::string("\x01\x02\x00\x00", 4);
    DecodedImage image;
    const DecodeResult r = decodeBytes(bmp, image);
    if (r == DecodeResult::Ok) {
        EXPECT_LE(image.colourTable.size(), 256u);
    }
}

namespace {

int appendToString(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size_t(length));
    return length;
}

}  // namespace

TEST(ImageLoad, InterlacedGifWithTransparentIndex) {
    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendToString, &error);
    ASSERT_NE(gif, nullptr);
    GifColorType colours[4] = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    ASSERT_NE(EGifPutScreenDesc(gif, 3, 4, 2, 0, map), GIF_ERROR);
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = 1;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&gcb, extension);
    ASSERT_NE(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension), GIF_ERROR);
    ASSERT_NE(EGifPutImageDesc(gif, 0, 0, 3, 4, true, nullptr), GIF_ERROR);
    for (int y : {0, 2, 1, 3}) {  // interlaced row order for four rows
        GifPixelType line[3] = {GifPixelType(y), GifPixelType(y), GifPixelType(y)};
        ASSERT_NE(EGifPutLine(gif, line, 3), GIF_ERROR);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);

    DecodedImage image;
    ASSERT_EQ(decodeBytes(bytes, image), DecodeResult::Ok);
    ASSERT_EQ(image.colourTable.size(), 4u);
    EXPECT_EQ(image.colourTable[1], 0x0028323Cu);  // the transparent entry has alpha 0
    EXPECT_EQ(image.surface.at(2, 0), 0xFF0A141Eu);
    EXPECT_EQ(image.surface.at(0, 1), 0u);  // transparent: not drawn
    EXPECT_EQ(image.surface.at(1, 2), 0xFF46505Au);
    EXPECT_EQ(image.surface.at(0, 3), 0xFF646E78u);
}

TEST(ImageBadInput, TruncatedGifFailsInsteadOfConvertingBlank) {
    test::TempDir dir;
    // A picture of many colours compresses poorly: a cut anywhere in its pixel data is one.
    writeIndexedGif(dir.file("ok.gif"), table256(), range(0, 255));
    const std::string bytes = test::readFile(dir.file("ok.gif"));
    DecodedImage whole;
    ASSERT_EQ(decodeBytes(bytes, whole), DecodeResult::Ok);
    for (size_t keep : {bytes.size() * 3 / 4, bytes.size() - 3}) {
        DecodedImage image;
        EXPECT_NE(decodeBytes(bytes.substr(0, keep), image), DecodeResult::Ok) << keep << " of " << bytes.size();
    }
}

TEST(ImageBadInput, GifFrameLargerThanItsScreenReportsTheFrameSize) {
    std::string gif = std::string("GIF89a") + le16(4) + le16(4) + std::string("\x80\x00\x00", 3) +
                      std::string("\x00\x00\x00\xFF\xFF\xFF", 6) + "," + le16(0) + le16(0) + le16(65535) +
                      le16(65535) + std::string("\x00\x02\x02\x44\x01\x00;", 8);
    DecodedImage image;
    EXPECT_EQ(decodeBytes(gif, image), DecodeResult::TooLarge);
    EXPECT_EQ(image.declaredWidth, 65535);
    EXPECT_EQ(image.declaredHeight, 65535);
}
