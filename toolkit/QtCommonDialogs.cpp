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
// hidden, so nothing is offered that would then be ignored.
void hideEffects(QFontDialog& dialog) {
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        box->hide();
        if (auto* group = qobject_cast<QGroupBox*>(box->parentWidget()))
            group->hide();
    }
}

// Without the effects beside it, Qt lays the sample box out with no height for its text.
void keepSampleTall(QFontDialog& dialog) {
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        for (QLineEdit* sample : group->findChildren<QLineEdit*>())
            sample->setMinimumHeight(3 * sample->fontMetrics().height());
    }
}

class QtDialogs final : public CommonDialogSeam {
public:
    std::optional<QString> ChooseOpenFile(const QString& fileName, int32_t) override {
        QPointer<QFileDialog> dialog = new QFileDialog(dialogParent());
        dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        if (!fileName.isEmpty()) {
            const QFileInfo info(fileName);
            dialog->setDirectory(info.absolutePath());
            dialog->selectFile(info.fileName());
        }
        const int answer = dialog->exec();
        // A handler run inside the dialog's event loop may have destroyed its parent.
        if (!dialog)
            return std::nullopt;
        const QStringList chosen = dialog->selectedFiles();
        delete dialog;
        if (answer != QDialog::Accepted || chosen.isEmpty())
            return std::nullopt;
        return chosen.first();
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
        QPointer<QFontDialog> dialog = new QFontDialog(initial, dialogParent());
        dialog->setOption(QFontDialog::DontUseNativeDialog);
        hideEffects(*dialog);
        keepSampleTall(*dialog);
        const int answer = dialog->exec();
        if (!dialog)
            return std::nullopt;
        const QFont chosen = dialog->selectedFont();
        delete dialog;
        if (answer != QDialog::Accepted)
            return std::nullopt;
        // Confirming the face offered keeps the name the caller gave.
        return DialogFont{chosen.family() == drawnFace ? font.Name : chosen.family(),
                          chosen.pointSizeF() > 0.0 ? static_cast<float>(chosen.pointSizeF())
                                                    : static_cast<float>(chosen.pixelSize() * 0.75),
                          chosen.bold(), chosen.italic(), chosen.strikeOut(), chosen.underline()};
    }

    // Qt's colour dialog always opens in full, custom colours included, with the given
    // colour selected.
    std::optional<int32_t> ChooseColor(int32_t color, int32_t) override {
        QPointer<QColorDialog> dialog = new QColorDialog(ToQColor(color), dialogParent());
        const int answer = dialog->exec();
        if (!dialog)
            return std::nullopt;
        const QColor chosen = dialog->selectedColor();
        delete dialog;
        if (answer != QDialog::Accepted || !chosen.isValid())
            return std::nullopt;
        return FromQColor(chosen);
    }
};

} // namespace

std::shared_ptr<CommonDialogSeam> QtCommonDialogs() { return std::make_shared<QtDialogs>(); }

} // namespace toolkit
