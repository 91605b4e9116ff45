#include "toolkit/Twips.h"

#include "toolkit/Error.h"

namespace toolkit {

void CheckLength(float twips) {
    if (std::isnan(twips) || twips < 0 || twips > 1.0e9f)
        throw Error::InvalidPropertyValue();
}

void CheckCoordinate(float twips) {
    if (!std::isfinite(twips) || std::fabs(twips) > 1.0e9f)
        throw Error::InvalidPropertyValue();
}

} // namespace toolkit
