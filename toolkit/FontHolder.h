#pragma once

#include "toolkit/StdFont.h"

#include <QString>

namespace toolkit {

// The font of a window or widget, as a whole and attribute by attribute.
// A size that is not a positive number of points up to 2048 is refused with
// "Invalid property value".
class FontHolder {
public:
    const StdFont& Font() const { return m_font; }
    void SetFont(const StdFont& value);
    bool FontBold() const { return m_font.Bold; }
    void SetFontBold(bool value);
    bool FontItalic() const { return m_font.Italic; }
    void SetFontItalic(bool value);
    QString FontName() const { return m_font.Name; }
    void SetFontName(const QString& value);
    float FontSize() const { return m_font.Size; }
    void SetFontSize(float value);
    bool FontUnderline() const { return m_font.Underline; }
    void SetFontUnderline(bool value);
    bool FontStrikethru() const { return m_font.Strikethrough; }
    void SetFontStrikethru(bool value);

protected:
    FontHolder() : m_font(DefaultFont()) {}
    virtual ~FontHolder() = default;
    // Called after every change, for the holder to show the new font.
    virtual void fontChanged() {}

private:
    StdFont m_font;
};

} // namespace toolkit
