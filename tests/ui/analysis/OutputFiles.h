#pragma once
// Reading back what the outputs wrote: JPEG pictures through libjpeg (with their
// quantisation tables) and PDF documents through poppler's pdfinfo and pdftotext.

#include <QFont>
#include <QImage>
#include <QString>

#include <array>
#include <vector>

struct DecodedJpeg {
    QImage picture;
    // The quantisation tables in use, 64 entries each.
    std::vector<std::array<unsigned, 64>> tables;
};

// An empty picture when the file is no JPEG.
DecodedJpeg ReadJpeg(const QString& path);

// True when poppler's tools are there; tests of PDFs skip without them.
bool PopplerAvailable();
// A value of pdfinfo's output, such as "Pages" or "Page size".
QString PdfInfo(const QString& path, const QString& key);
// The text of one page (from 1), in reading order.
QString PdfPageText(const QString& path, int page);
// The height in points of the first word on the page that equals the text; 0 if none.
double PdfWordHeight(const QString& path, int page, const QString& word);
// The height pdftotext gives the word written alone in the font: what a printed text of
// that size measures.
double PdfHeightOfText(const QFont& font, const QString& word);
// The page rendered by poppler at the resolution; a null image when that fails.
QImage PdfPageImage(const QString& path, int page, int dpi);
