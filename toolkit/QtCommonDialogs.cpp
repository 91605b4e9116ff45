#include "toolkit/CommonDialog.h"

#include "toolkit/Colors.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>

namespace toolkit {

namespace {

// The dialogs centre on the window the user was working in.
QWidget* dialogParent() { return QApplication::activeWindow(); }

// Qt's own font dialog offers strike-through and underline in an "Effects" box; the box is
// hidden, so nothing is offered that would then be ignored. Without the effects beside it, Qt
// lays the sample box out with no height for its text.
void hideEffects(QFontDialog& dialog) {
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        box->hide();
        if (auto* group = qobject_cast<QGroupBox*>(box->parentWidget()))
            group->hide();
    }
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        for (QLineEdit* sample : group->findChildren<QLineEdit*>())
            sample->setMinimumHeight(3 * sample->fontMetrics().height());
    }
}

// Shows the dialog modally and reads what it holds once it closes: nothing when the user
// cancelled, or when a handler run inside its event loop destroyed it along with its parent.
template <class Dialog, class Value>
std::optional<Value> answerOf(Dialog* shown, Value (Dialog::*read)() const) {
    const QPointer<Dialog> dialog = shown;
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return std::nullopt;
    Value chosen = (dialog->*read)();
    delete dialog;
    return accepted ? std::optional<Value>(std::move(chosen)) : std::nullopt;
}

class QtDialogs final : public CommonDialogSeam {
public:
    std::optional<QString> ChooseOpenFile(const QString& fileName, int32_t) override {
        // A new file dialog opens files and is not deleted on close, as answerOf needs.
        auto* dialog = new QFileDialog(dialogParent());
        dialog->setFileMode(QFileDialog::ExistingFile);
        if (!fileName.isEmpty()) {
            const QFileInfo info(fileName);
            dialog->setDirectory(info.absolutePath());
            dialog->selectFile(info.fileName());
        }
        const std::optional<QStringList> chosen = answerOf(dialog, &QFileDialog::selectedFiles);
        if (!chosen || chosen->isEmpty())
            return std::nullopt;
        return chosen->first();
    }

    std::optional<DialogFont> ChooseFont(const DialogFont& font, int32_t) override {
        QFont initial(font.Name);
        initial.setPointSizeF(font.Size > 0.0f ? font.Size : 9.0);
        initial.setBold(font.Bold);
        initial.setItalic(font.Italic);
        initial.setStrikeOut(font.Strikethru);
        initial.setUnderline(font.Underline);
        // A substituted face (the strip's Japanese face where it is not installed) is in none
        // of the dialog's lists, and the dialog then selects no face and shows no sample; it
        // gets the face that really draws the text instead.
        const QFontInfo drawn(initial);
        const QString drawnFace = drawn.family();
        initial.setFamily(drawnFace);
        // So is the style that draws it: the dialog takes the face's first style where its own
        // guess at the style's name is not in the list (an oblique for a regular font, say),
        // and OK would then change the font.
        initial.setStyleName(drawn.styleName());
        auto* dialog = new QFontDialog(initial, dialogParent());
        dialog->setOption(QFontDialog::DontUseNativeDialog);
        hideEffects(*dialog);
        const std::optional<QFont> chosen = answerOf(dialog, &QFontDialog::selectedFont);
        if (!chosen)
            return std::nullopt;
        const QFont& f = *chosen;
        // Confirming the face offered keeps the name the caller gave.
        return DialogFont{f.family() == drawnFace ? font.Name : f.family(),
                          f.pointSizeF() > 0.0 ? static_cast<float>(f.pointSizeF())
                                               : static_cast<float>(f.pixelSize() * 0.75),
                          f.bold(), f.italic(), f.strikeOut(), f.underline()};
    }

    // Qt's colour dialog always opens in full, custom colours included, with the given
    // colour selected.
    std::optional<int32_t> ChooseColor(int32_t color, int32_t) override {
        const std::optional<QColor> chosen = answerOf(
            new QColorDialog(ToQColor(color), dialogParent()), &QColorDialog::selectedColor);
        if (!chosen || !chosen->isValid())
            return std::nullopt;
        return RGB(chosen->red(), chosen->green(), chosen->blue());
    }
};

} // namespace

std::shared_ptr<CommonDialogSeam> QtCommonDialogs() { return std::make_shared<QtDialogs>(); }

} // namespace toolkit
