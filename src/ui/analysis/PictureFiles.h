#pragma once
// Chart pictures as files: JPEG through libjpeg, 24-bit bitmaps, and writing a file so
// that a failure never leaves a half-written picture behind.

#include <QByteArray>
#include <QImage>
#include <QString>

// Baseline JPEG of the picture (RGB, 4:4:4 at quality 100 so nothing is smeared).
QByteArray EncodeJpeg(const QImage& picture, int quality);
// An uncompressed 24-bit Windows bitmap, rows bottom-up.
QByteArray EncodeBmp(const QImage& picture);
// Replaces the file with the bytes; a file that cannot be written raises
// "Could not create file" with the file name.
void WritePictureFile(const QString& path, const QByteArray& bytes);
