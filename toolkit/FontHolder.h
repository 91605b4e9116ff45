#pragma once

#include "toolkit/Error.h"
#include "toolkit/StdFont.h"

#include <QString>

#include <utility>

namespace toolkit {

// The font of a window or widget, as a whole and attribute by attribute.
// A size that is not a positive number of points up to 2048 is refused with
// "Invalid property value".
class FontHolder {
public:
    const StdFont& Font() const { return m_font; }
    void SetFont(const StdFont& value) {
        checkSize(value.Size);
        m_font = value;
        fontChanged();
    }
    bool FontBold() const { return m_font.Bold; }
    void SetFontBold(bool value) { change(&StdFont::Bold, value); }
    bool FontItalic() const { return m_font.Italic; }
    void SetFontItalic(bool value) { change(&StdFont::Italic, value); }
    QString FontName() const { return m_font.Name; }
    void SetFontName(const QString& value) { change(&StdFont::Name, value); }
    float FontSize() const { return m_font.Size; }
    void SetFontSize(float value) {
        checkSize(value);
        change(&StdFont::Size, value);
    }
    bool FontUnderline() const { return m_font.Underline; }
    void SetFontUnderline(bool value) { change(&StdFont::Underline, value); }
    bool FontStrikethru() const { return m_font.Strikethrough; }
    void SetFontStrikethru(bool value) { change(&StdFont::Strikethrough, value); }

protected:
    FontHolder() : m_font(DefaultFont()) {}
    virtual ~FontHolder() = default;
    // Called after every change, for the holder to show the new font.
    virtual void fontChanged() {}

private:
    static void checkSize(float points) {
        if (!(points > 0) || points > 2048.0f)
            throw Error::InvalidPropertyValue();
    }
    template <class T> void change(T StdFont::*attribute, T value) {
        m_font.*attribute = std::move(value);
        fontChanged();
    }

    StdFont m_font;
};

} // namespace toolkit
