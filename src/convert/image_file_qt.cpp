// PNG, JPEG and BMP through QImage. Indexed PNG and BMP files come back as Indexed8 (or Mono)
// images whose colorTable() is the file's own table in file order.
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLibraryInfo>
#include <cstring>

#include "convert/image_file_codecs.h"

namespace ts {

namespace {
DecodeResult copyImage(QImage image, DecodedImage& out);

// Enough for the largest surface (2^26 pixels of 4 bytes) with the reader's own overhead.
constexpr int kReaderAllocationLimitMB = 512;

const char* signatureFormat(const uint8_t* data, size_t size) {
    if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0) return "png";
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return "bmp";
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return "jpeg";
    return nullptr;
}

// Qt looks through its plugin folders the first time an image is read or written, even for the
// formats it decodes itself; finding the folders and reading the plugins there takes a few
// milliseconds, a good share of a small batch conversion. After deferImagePluginSearch(), the
// first image of a built-in format empties the plugin folders, and the first format that needs a
// plugin puts them back.
bool pluginSearchMayWait = false;
bool pluginFoldersEmptied = false;

bool builtInFormat(const char* format) {
    return format && (std::strcmp(format, "png") == 0 || std::strcmp(format, "bmp") == 0);
}

// The folders Qt searches when nobody has set them: those of QT_PLUGIN_PATH, then its own.
QStringList defaultPluginFolders() {
    QStringList folders;
    const auto add = [&folders](const QString& folder) {
        const QString canonical = QDir(folder).canonicalPath();
        if (!canonical.isEmpty() && !folders.contains(canonical)) folders.append(canonical);
    };
    for (const QString& folder :
         qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        add(folder);
    add(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    return folders;
}

void preparePluginsFor(const char* format) {
    if (!pluginSearchMayWait) return;
    if (builtInFormat(format)) {
        if (!pluginFoldersEmptied) QCoreApplication::setLibraryPaths(QStringList());
        pluginFoldersEmptied = true;
        return;
    }
    pluginSearchMayWait = false;
    if (pluginFoldersEmptied) QCoreApplication::setLibraryPaths(defaultPluginFolders());
}
}  // namespace

void deferImagePluginSearch() {
    // With an application object the plugins are needed elsewhere (the platform's own).
    // Once the folders have been emptied, they are either still waiting or back for good.
    if (QCoreApplication::instance() || pluginFoldersEmptied) return;
    pluginSearchMayWait = true;
}

DecodeResult decodeWithImageLibrary(const uint8_t* data, size_t size, DecodedImage& out) {
    if (size == 0 || size > size_t(INT32_MAX)) return DecodeResult::Undecodable;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return DecodeResult::Undecodable;
    // PNG, BMP and JPEG are named from their signature, so that the reader goes straight to its
    // decoder instead of loading every image plugin to ask which one knows the data.
    const char* format = signatureFormat(data, size);
    preparePluginsFor(format);
    QImageReader reader(&buffer, format ? QByteArray(format) : QByteArray());
    reader.setDecideFormatFromContent(format == nullptr);
    reader.setAutoDetectImageFormat(format == nullptr);
    // Our own size limit (surfaceSizeAllowed) applies; the reader's lower default would refuse
    // images that the surfaces can hold.
    QImageReader::setAllocationLimit(kReaderAllocationLimitMB);
    reader.setAutoTransform(false);
    const QSize announced = reader.size();
    if (announced.isValid()) {
        out.declaredWidth = announced.width();
        out.declaredHeight = announced.height();
        if (announced.width() == 0 || announced.height() == 0) return DecodeResult::Empty;
        if (!surfaceSizeAllowed(announced.width(), announced.height())) return DecodeResult::TooLarge;
    }
    // True-colour files are decoded straight into the surface: the reader fills an image of the
    // right size and format in place instead of allocating its own.
    const QImage::Format announcedFormat = reader.imageFormat();
    if (announced.isValid() &&
        (announcedFormat == QImage::Format_RGB32 || announcedFormat == QImage::Format_ARGB32)) {
        if (!prepareSurface(out.surface, announced.width(), announced.height()))
            return DecodeResult::TooLarge;
        uchar* bits = reinterpret_cast<uchar*>(out.surface.pixels.data());
        QImage direct(bits, out.surface.width, out.surface.height, qsizetype(out.surface.stride) * 4,
                      announcedFormat);
        if (!reader.read(&direct) || direct.isNull()) return DecodeResult::Undecodable;
        out.colourTable.clear();
        if (direct.constBits() == bits && direct.format() == announcedFormat &&
            direct.size() == announced)
            return DecodeResult::Ok;  // RGB32 pixels already carry alpha 255
        return copyImage(direct, out);
    }

    QImage image;
    if (!reader.read(&image) || image.isNull()) return DecodeResult::Undecodable;
    return copyImage(image, out);
}

namespace {

DecodeResult copyImage(QImage image, DecodedImage& out) {
    out.declaredWidth = image.width();
    out.declaredHeight = image.height();
    if (image.width() == 0 || image.height() == 0) return DecodeResult::Empty;
    if (!surfaceSizeAllowed(image.width(), image.height())) return DecodeResult::TooLarge;

    out.colourTable.clear();
    const QImage::Format format = image.format();
    if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono ||
        format == QImage::Format_MonoLSB) {
        const QList<QRgb> table = image.colorTable();
        out.colourTable.assign(table.begin(), table.end());
    }
    if (format != QImage::Format_ARGB32 && format != QImage::Format_RGB32) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) return DecodeResult::Undecodable;
    }
    if (!prepareSurface(out.surface, image.width(), image.height())) return DecodeResult::TooLarge;
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(out.surface.row(y), image.constScanLine(y), size_t(image.width()) * 4);
    return DecodeResult::Ok;
}

}  // namespace

bool encodeWithImageLibrary(const EncodeInput& in, const char* format, std::string& bytes) {
    const Surface& s = *in.surface;
    QImage image;
    if (!in.table.empty()) {
        image = QImage(s.width, s.height, QImage::Format_Indexed8);
        if (image.isNull()) return false;
        QList<QRgb> table;
        for (uint32_t c : in.table) table.push_back(0xFF000000u | c);
        image.setColorTable(table);
        for (int y = 0; y < s.height; ++y)
            std::memcpy(image.scanLine(y), in.indices.data() + size_t(y) * size_t(s.width), size_t(s.width));
    } else {
        image = QImage(s.width, s.height, QImage::Format_RGB32);
        if (image.isNull()) return false;
        for (int y = 0; y < s.height; ++y) {
            uint32_t* dst = reinterpret_cast<uint32_t*>(image.scanLine(y));
            const uint32_t* src = s.row(y);
            for (int x = 0; x < s.width; ++x) dst[x] = 0xFF000000u | src[x];
        }
    }
    QByteArray data;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    preparePluginsFor(format);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) return false;
    bytes.assign(data.constData(), size_t(data.size()));
    return true;
}

}  // namespace ts
