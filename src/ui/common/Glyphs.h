#pragma once
// The program's own pictures, painted in code: tool-bar glyphs, language flags, the
// navigation arrows and the maker's logo.

#include <QColor>
#include <QImage>
#include <QPixmap>

// Tool-bar glyphs in the order of the main window's icon list.
enum class ToolGlyph {
    Open,
    Save,
    Print,
    About,
    FlagGerman,
    FlagEnglish,
    FlagFrench,
    FlagSpanish,
    FlagItalian,
    FlagPortuguese,
    FlagAmerican,
    Chart,
    List,
    Count
};

constexpr int ToolGlyphSize = 20;

QPixmap PaintToolGlyph(ToolGlyph glyph);

// Navigation glyphs in the order of the analysis window's button images.
enum class NavigationGlyph { JumpLeft, JumpRight, ScrollLeft, ScrollRight };

constexpr int NavigationGlyphSize = 16;

// Painted on an opaque key colour, which fills the bottom-right pixel and marks what
// is transparent.
QImage PaintNavigationGlyph(NavigationGlyph glyph);

// The maker's logo in the given size, on a transparent background.
QPixmap PaintMakerLogo(int width, int height);
