#include "toolkit/CommonDialog.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"

#include <cmath>
#include <utility>

namespace toolkit {

CommonDialog::CommonDialog(std::shared_ptr<CommonDialogSeam> seam) : m_seam(std::move(seam)) {
    if (!m_seam)
        throw Error::ObjectNotSet();
}

void CommonDialog::SetSeam(std::shared_ptr<CommonDialogSeam> seam) {
    if (!seam)
        throw Error::ObjectNotSet();
    m_seam = std::move(seam);
}

void CommonDialog::SetFontSize(float value) {
    if (!std::isfinite(value) || value <= 0.0f || value > 2160.0f)
        throw Error::InvalidPropertyValue();
    m_font.Size = value;
}

void CommonDialog::SetColor(int32_t value) {
    CheckColor(value);
    m_lngColor = value;
}

void CommonDialog::ShowOpen() {
    if (std::optional<QString> chosen = m_seam->ChooseOpenFile(m_strFileName, m_lngFlags))
        m_strFileName = std::move(*chosen);
}

void CommonDialog::ShowFont() {
    std::optional<DialogFont> chosen = m_seam->ChooseFont(m_font, m_lngFlags);
    if (!chosen)
        return;
    if (!(m_lngFlags & cdlCFEffects)) {
        chosen->Strikethru = m_font.Strikethru;
        chosen->Underline = m_font.Underline;
    }
    if (!std::isfinite(chosen->Size) || chosen->Size <= 0.0f || chosen->Size > 2160.0f)
        chosen->Size = m_font.Size;
    m_font = std::move(*chosen);
}

void CommonDialog::ShowColor() {
    const std::optional<int32_t> chosen = m_seam->ChooseColor(m_lngColor, m_lngFlags);
    if (!chosen)
        return;
    CheckColor(*chosen);
    m_lngColor = *chosen;
}

} // namespace toolkit
