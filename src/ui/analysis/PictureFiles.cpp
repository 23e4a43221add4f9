#include "ui/analysis/PictureFiles.h"

#include "core/base/KalvexError.h"

#include <QSaveFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg reports errors by calling error_exit, which must not return; jumping back
// out of the encoder is its documented way. Only plain data lives on that road.
struct JpegErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

void JumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrorJump*>(info->err)->back, 1);
}

// The encoder's output, grown by doubling. Owned here, not by libjpeg, so it is freed
// exactly once however the encoder ends; libjpeg's own memory destination leaves the
// caller a pointer to a buffer it freed when it fails after growing it.
struct JpegBuffer {
    jpeg_destination_mgr manager;
    unsigned char* data = nullptr;
    std::size_t capacity = 0;
};

constexpr std::size_t JpegFirstCapacity = 1 << 16;

void StartBuffer(j_compress_ptr info)
{
    auto* buffer = reinterpret_cast<JpegBuffer*>(info->dest);
    buffer->data = static_cast<unsigned char*>(std::malloc(JpegFirstCapacity));
    if (!buffer->data)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 1);
    buffer->capacity = JpegFirstCapacity;
    buffer->manager.next_output_byte = buffer->data;
    buffer->manager.free_in_buffer = buffer->capacity;
}

boolean GrowBuffer(j_compress_ptr info)
{
    auto* buffer = reinterpret_cast<JpegBuffer*>(info->dest);
    // libjpeg asks when the buffer is full; a failed realloc leaves it as it was.
    auto* grown = static_cast<unsigned char*>(std::realloc(buffer->data, buffer->capacity * 2));
    if (!grown)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 2);
    buffer->data = grown;
    buffer->manager.next_output_byte = grown + buffer->capacity;
    buffer->manager.free_in_buffer = buffer->capacity;
    buffer->capacity *= 2;
    return TRUE;
}

void EndBuffer(j_compress_ptr)
{
}

// Returns false when libjpeg gave up; the buffer then holds nothing to keep, but is the
// caller's to free either way.
bool EncodeRows(const QImage& rgb, int quality, JpegBuffer& buffer)
{
    jpeg_compress_struct info;
    JpegErrorJump error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JumpBack;
    if (setjmp(error.back)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    buffer.manager.init_destination = StartBuffer;
    buffer.manager.empty_output_buffer = GrowBuffer;
    buffer.manager.term_destination = EndBuffer;
    info.dest = &buffer.manager;
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row
            = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

void PutLittleEndian(QByteArray& bytes, int at, quint32 value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

QByteArray EncodeJpeg(const QImage& picture, int quality)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        Fail(TextId::TxtCouldNotCreateFile);
    JpegBuffer buffer;
    const bool encoded = EncodeRows(rgb, quality, buffer);
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(buffer.data, &std::free);
    if (!encoded || !owned)
        Fail(TextId::TxtCouldNotCreateFile);
    const std::size_t size = buffer.capacity - buffer.manager.free_in_buffer;
    return QByteArray(reinterpret_cast<const char*>(owned.get()), static_cast<qsizetype>(size));
}

QByteArray EncodeBmp(const QImage& picture)
{
    constexpr int FileHeader = 14;
    constexpr int InfoHeader = 40;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const int stride = (width * 3 + 3) / 4 * 4;
    const int pixels = stride * height;
    QByteArray bytes(FileHeader + InfoHeader + pixels, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLittleEndian(bytes, 2, static_cast<quint32>(bytes.size()), 4);
    PutLittleEndian(bytes, 10, FileHeader + InfoHeader, 4);
    PutLittleEndian(bytes, 14, InfoHeader, 4);
    PutLittleEndian(bytes, 18, static_cast<quint32>(width), 4);
    PutLittleEndian(bytes, 22, static_cast<quint32>(height), 4);
    PutLittleEndian(bytes, 26, 1, 2); // planes
    PutLittleEndian(bytes, 28, 24, 2); // bits per pixel
    PutLittleEndian(bytes, 34, static_cast<quint32>(pixels), 4);
    PutLittleEndian(bytes, 38, 3780, 4); // 96 dots per inch, in dots per metre
    PutLittleEndian(bytes, 42, 3780, 4);
    char* data = bytes.data() + FileHeader + InfoHeader;
    for (int y = 0; y < height; ++y) {
        const uchar* source = rgb.constScanLine(height - 1 - y);
        char* target = data + y * stride;
        for (int x = 0; x < width; ++x) {
            // Bitmaps store blue, green, red.
            target[3 * x] = static_cast<char>(source[3 * x + 2]);
            target[3 * x + 1] = static_cast<char>(source[3 * x + 1]);
            target[3 * x + 2] = static_cast<char>(source[3 * x]);
        }
    }
    return bytes;
}

void WritePictureFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        Fail(TextId::TxtCouldNotCreateFile, ": " + path.toStdString());
}
