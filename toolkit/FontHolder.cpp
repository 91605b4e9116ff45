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

void FontHolder::SetFontSize(float value) {
    checkSize(value);
    change(&StdFont::Size, value);
}

} // namespace toolkit
