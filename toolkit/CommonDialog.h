#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace toolkit {

// The font attributes that the Font dialog works on.
struct DialogFont {
    QString Name;
    float Size = 9.0f;
    bool Bold = false, Italic = false, Strikethru = false, Underline = false;

    bool operator==(const DialogFont&) const = default;
};

// Font dialog flag: list screen and printer fonts (both are the same fonts here).
inline constexpr int32_t cdlCFBoth = 0x3;

// The platform's modal Open, Font and Color dialogs. Each is shown with the component's current
// values and flags and hands back what the user chose, or nothing when the user cancelled.
class CommonDialogSeam {
public:
    virtual ~CommonDialogSeam() = default;
    virtual std::optional<QString> ChooseOpenFile(const QString& fileName, int32_t flags) = 0;
    virtual std::optional<DialogFont> ChooseFont(const DialogFont& font, int32_t flags) = 0;
    virtual std::optional<int32_t> ChooseColor(int32_t color, int32_t flags) = 0;
};

// Qt's own dialogs: QFileDialog, QFontDialog and QColorDialog, over the active window.
std::shared_ptr<CommonDialogSeam> QtCommonDialogs();

// Installs the dialogs that every CommonDialog shows from now on and returns the ones it
// replaces; nullptr means Qt's own.
std::shared_ptr<CommonDialogSeam> SetCommonDialogs(std::shared_ptr<CommonDialogSeam> dialogs);

// One object serving the Open, Font and Color dialogs. Its file name, font attributes, colour
// and flags keep their values from one use to the next, whichever dialog set them. A dialog
// that the user accepts sets the values it offers; a cancelled one leaves every value as it
// was before it was shown. Cancelling is not an error.
class CommonDialog {
public:
    const QString& FileName() const noexcept { return m_strFileName; }
    void SetFileName(const QString& value) { m_strFileName = value; }

    bool FontBold() const noexcept { return m_font.Bold; }
    void SetFontBold(bool value) noexcept { m_font.Bold = value; }
    bool FontItalic() const noexcept { return m_font.Italic; }
    void SetFontItalic(bool value) noexcept { m_font.Italic = value; }
    const QString& FontName() const noexcept { return m_font.Name; }
    void SetFontName(const QString& value) { m_font.Name = value; }
    float FontSize() const noexcept { return m_font.Size; }
    // Raises "Invalid property value" unless 0 < value <= 2160 points.
    void SetFontSize(float value);
    bool FontStrikethru() const noexcept { return m_font.Strikethru; }
    void SetFontStrikethru(bool value) noexcept { m_font.Strikethru = value; }
    bool FontUnderline() const noexcept { return m_font.Underline; }
    void SetFontUnderline(bool value) noexcept { m_font.Underline = value; }

    // A colour value: RGB, or a system colour; anything else raises "Invalid property value".
    int32_t Color() const noexcept { return m_lngColor; }
    void SetColor(int32_t value);

    void SetFlags(int32_t value) noexcept { m_lngFlags = value; }

    void ShowOpen();
    // The dialog offers face, style and size, not strike-through and underline: both stay as
    // they were.
    void ShowFont();
    void ShowColor();

private:
    QString m_strFileName;
    DialogFont m_font;
    int32_t m_lngColor = 0;
    int32_t m_lngFlags = 0;
};

} // namespace toolkit
