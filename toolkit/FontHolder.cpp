#include "toolkit/FontHolder.h"

#include "toolkit/Error.h"

namespace toolkit {

namespace {

void checkSize(float points) {
    if (!(points > 0) || points > 2048.0f)
        throw Error::InvalidPropertyValue();
}

} // namespace

void FontHolder::SetFont(const StdFont& value) {
    checkSize(value.Size);
    m_font = value;
    fontChanged();
}

void FontHolder::SetFontBold(bool value) {
    m_font.Bold = value;
    fontChanged();
}

void FontHolder::SetFontItalic(bool value) {
    m_font.Italic = value;
    fontChanged();
}

void FontHolder::SetFontName(const QString& value) {
    m_font.Name = value;
    fontChanged();
}

void FontHolder::SetFontSize(float value) {
    checkSize(value);
    m_font.Size = value;
    fontChanged();
}

void FontHolder::SetFontUnderline(bool value) {
    m_font.Underline = value;
    fontChanged();
}

void FontHolder::SetFontStrikethru(bool value) {
    m_font.Strikethrough = value;
    fontChanged();
}

} // namespace toolkit
