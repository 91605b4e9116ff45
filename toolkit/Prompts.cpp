#include "toolkit/Prompts.h"

#include "toolkit/App.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <utility>

namespace toolkit {

namespace {

class QtPrompts : public Prompts {
public:
    int16_t MsgBox(const QString& prompt, int32_t buttons, const QString& title) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        box.setText(prompt);
        switch (buttons & 0x70) {
        case vbCritical:
            box.setIcon(QMessageBox::Critical);
            break;
        case vbQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case vbExclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case vbInformation:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
        }
        const bool second = (buttons & 0xF00) == vbDefaultButton2;
        QAbstractButton* chosenDefault = nullptr;
        switch (buttons & 0x0F) {
        case vbYesNo: {
            QPushButton* yes = box.addButton(QMessageBox::Yes);
            QPushButton* no = box.addButton(QMessageBox::No);
            box.setDefaultButton(second ? no : yes);
            box.setEscapeButton(no);
            chosenDefault = second ? no : yes;
            break;
        }
        case vbOKCancel: {
            QPushButton* ok = box.addButton(QMessageBox::Ok);
            QPushButton* cancel = box.addButton(QMessageBox::Cancel);
            box.setDefaultButton(second ? cancel : ok);
            box.setEscapeButton(cancel);
            chosenDefault = second ? cancel : ok;
            break;
        }
        default: {
            QPushButton* ok = box.addButton(QMessageBox::Ok);
            box.setDefaultButton(ok);
            box.setEscapeButton(ok);
            chosenDefault = ok;
            break;
        }
        }
        chosenDefault->setFocus();
        box.exec();
        switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Yes:
            return vbYes;
        case QMessageBox::No:
            return vbNo;
        case QMessageBox::Ok:
            return vbOK;
        case QMessageBox::Cancel:
            return vbCancel;
        default:
            // Closed some other way, for example by the end of the application.
            return (buttons & 0x0F) == vbYesNo      ? vbNo
                   : (buttons & 0x0F) == vbOKCancel ? vbCancel
                                                    : vbOK;
        }
    }

    QString InputBox(const QString& prompt, const QString& title, const QString& initial) override {
        QInputDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(title);
        dialog.setLabelText(prompt);
        dialog.setTextValue(initial);
        // Wide enough for a long web address, which Qt's narrow box would show a part of.
        const int wide = dialog.fontMetrics().averageCharWidth() * 80;
        dialog.resize(std::max(dialog.sizeHint().width(), wide), dialog.sizeHint().height());
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return dialog.textValue();
    }
};

std::shared_ptr<Prompts>& current() {
    static std::shared_ptr<Prompts> prompts;
    return prompts;
}

std::shared_ptr<Prompts> prompts() {
    if (!current())
        current() = std::make_shared<QtPrompts>();
    return current();
}

QString titleOr(const QString& title) {
    return title.isEmpty() ? AppTitle() : title;
}

} // namespace

int16_t MsgBox(const QString& prompt, int32_t buttons, const QString& title) {
    // Held for the whole modal loop, in case a handler inside it swaps the seam.
    const auto p = prompts();
    return p->MsgBox(prompt, buttons, titleOr(title));
}

QString InputBox(const QString& prompt, const QString& title, const QString& initial) {
    const auto p = prompts();
    return p->InputBox(prompt, titleOr(title), initial);
}

std::shared_ptr<Prompts> SetPrompts(std::shared_ptr<Prompts> p) {
    return std::exchange(current(), std::move(p));
}

} // namespace toolkit
