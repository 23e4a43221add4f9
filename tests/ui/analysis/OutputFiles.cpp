#include "ui/analysis/OutputFiles.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

#include <jpeglib.h>

DecodedJpeg ReadJpeg(const QString& path)
{
    DecodedJpeg result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 4 || static_cast<unsigned char>(bytes[0]) != 0xFF
        || static_cast<unsigned char>(bytes[1]) != 0xD8)
        return result;
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
        static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    for (JQUANT_TBL* table : info.quant_tbl_ptrs) {
        if (!table)
            continue;
        std::array<unsigned, 64> entries{};
        for (int i = 0; i < 64; ++i)
            entries[i] = table->quantval[i];
        result.tables.push_back(entries);
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    QImage picture(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
        QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    result.picture = picture;
    return result;
}

namespace {

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

bool PopplerAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

QString PdfInfo(const QString& path, const QString& key)
{
    const QString info = Run(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split(u'\n'))
        if (line.startsWith(key + u':'))
            return line.mid(key.size() + 1).trimmed();
    return {};
}

QString PdfPageText(const QString& path, int page)
{
    return Run(QStringLiteral("pdftotext"),
        {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
            QStringLiteral("-layout"), path, QStringLiteral("-")});
}

double PdfWordHeight(const QString& path, int page, const QString& word)
{
    const QString html = Run(QStringLiteral("pdftotext"),
        {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
            QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression box(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    for (auto it = box.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(5) == word)
            return match.captured(4).toDouble() - match.captured(2).toDouble();
    }
    return 0;
}

double PdfHeightOfText(const QFont& font, const QString& word)
{
    // A page with nothing but the word in that font, measured as the printouts are.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("reference.pdf"));
    {
        QPdfWriter writer(path);
        writer.setResolution(1200);
        QPainter painter(&writer);
        painter.setFont(font);
        painter.drawText(QPoint(1200, 1200), word);
    }
    return PdfWordHeight(path, 1, word);
}

QImage PdfPageImage(const QString& path, int page, int dpi)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
            QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
            QStringLiteral("-singlefile"), path, stem});
    return QImage(stem + QStringLiteral(".png"));
}
