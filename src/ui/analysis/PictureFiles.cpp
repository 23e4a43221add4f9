#include "ui/analysis/PictureFiles.h"

#include "core/base/KalvexError.h"

#include <QSaveFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// Returns false when libjpeg gave up; out then holds nothing to keep.
bool EncodeRows(const QImage& rgb, int quality, unsigned char** out, unsigned long* size)
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
    jpeg_mem_dest(&info, out, size);
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
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const bool encoded = EncodeRows(rgb, quality, &out, &size);
    QByteArray bytes;
    if (encoded && out)
        bytes = QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    if (!encoded)
        Fail(TextId::TxtCouldNotCreateFile);
    return bytes;
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
