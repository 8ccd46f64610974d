// The former PNG, JPEG and BMP loader, through QImage: indexed PNG and BMP files come back as
// Indexed8 (or Mono) images whose colorTable() is the colour table.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <cstring>

#include "qt_image_loader.h"

namespace ts::test {

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

}  // namespace

DecodeResult decodeWithQtLoader(const uint8_t* data, size_t size, DecodedImage& out) {
    if (size == 0 || size > size_t(INT32_MAX)) return DecodeResult::Undecodable;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return DecodeResult::Undecodable;
    // PNG, BMP and JPEG are named from their signature, so that the reader goes straight to its
    // decoder instead of loading every image plugin to ask which one knows the data.
    const char* format = signatureFormat(data, size);
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

}  // namespace ts::test
