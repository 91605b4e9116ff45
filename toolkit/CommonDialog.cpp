#include "toolkit/CommonDialog.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"

#include <cmath>
#include <utility>

namespace toolkit {

namespace {

constinit std::shared_ptr<CommonDialogSeam> installed;

// Held by the caller for the whole modal loop, in case a handler inside it swaps the dialogs.
std::shared_ptr<CommonDialogSeam> dialogs() {
    return installed ? installed : QtCommonDialogs();
}

} // namespace

std::shared_ptr<CommonDialogSeam> SetCommonDialogs(std::shared_ptr<CommonDialogSeam> dialogs) {
    return std::exchange(installed, std::move(dialogs));
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
    if (std::optional<QString> chosen = dialogs()->ChooseOpenFile(m_strFileName, m_lngFlags))
        m_strFileName = std::move(*chosen);
}

void CommonDialog::ShowFont() {
    std::optional<DialogFont> chosen = dialogs()->ChooseFont(m_font, m_lngFlags);
    if (!chosen)
        return;
    chosen->Strikethru = m_font.Strikethru;
    chosen->Underline = m_font.Underline;
    if (!std::isfinite(chosen->Size) || chosen->Size <= 0.0f || chosen->Size > 2160.0f)
        chosen->Size = m_font.Size;
    m_font = std::move(*chosen);
}

void CommonDialog::ShowColor() {
    if (const std::optional<int32_t> chosen = dialogs()->ChooseColor(m_lngColor, m_lngFlags))
        SetColor(*chosen);
}

} // namespace toolkit
