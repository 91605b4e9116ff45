#pragma once

#include <QFont>
#include <QString>

#include <cstdint>

namespace toolkit {

// A font as windows and widgets hold it: face, size in points and styles.
struct StdFont {
    QString Name;
    float Size = 9.0f;
    bool Bold = false, Italic = false, Underline = false, Strikethrough = false;
    int16_t Charset = 0; // 128 is Shift-JIS

    bool operator==(const StdFont&) const = default;
};

inline constexpr int16_t kCharsetShiftJis = 128;

// The face drawn for a font name that is not installed.
QFont ToQFont(const StdFont& font);

// The platform's default font for a new window.
StdFont DefaultFont();

// Width of the widest line and height of all lines of a text, in twips.
// An empty text measures 0 wide and one line high.
float MeasureTextWidth(const StdFont& font, const QString& text);
float MeasureTextHeight(const StdFont& font, const QString& text);

// Maps the Japanese face the strip and the dialogs ask for, "ＭＳ Ｐゴシック", onto
// the Japanese faces installed here. Called once at start-up.
void RegisterFontSubstitutions();

} // namespace toolkit
