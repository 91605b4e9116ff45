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

int16_t qtMsgBox(const QString& prompt, int32_t buttons, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    if ((buttons & 0x70) == vbCritical)
        box.setIcon(QMessageBox::Critical);
    const bool yesNo = (buttons & 0x0F) == vbYesNo;
    QPushButton* first = box.addButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    QPushButton* last = yesNo ? box.addButton(QMessageBox::No) : first;
    // The default button takes the focus as well.
    box.setDefaultButton((buttons & 0xF00) == vbDefaultButton2 ? last : first);
    box.setEscapeButton(last);
    box.exec();
    // Closed some other way, for example by the end of the application, is No or OK.
    if (box.clickedButton() == first && yesNo)
        return vbYes;
    return yesNo ? vbNo : vbOK;
}

QString qtInputBox(const QString& prompt, const QString& title, const QString& initial) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    // Wide enough for a long web address, which Qt's narrow box would show a part of.
    const int wide = dialog.fontMetrics().averageCharWidth() * 80;
    dialog.resize(std::max(dialog.sizeHint().width(), wide), dialog.sizeHint().height());
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

constinit std::shared_ptr<Prompts> current;

QString titleOr(const QString& title) {
    return title.isEmpty() ? AppTitle() : title;
}

} // namespace

int16_t MsgBox(const QString& prompt, int32_t buttons, const QString& title) {
    // The copy holds the installed prompts for the whole modal loop, in case a handler inside
    // it swaps them.
    if (const std::shared_ptr<Prompts> prompts = current)
        return prompts->MsgBox(prompt, buttons, titleOr(title));
    return qtMsgBox(prompt, buttons, titleOr(title));
}

QString InputBox(const QString& prompt, const QString& title, const QString& initial) {
    if (const std::shared_ptr<Prompts> prompts = current)
        return prompts->InputBox(prompt, titleOr(title), initial);
    return qtInputBox(prompt, titleOr(title), initial);
}

std::shared_ptr<Prompts> SetPrompts(std::shared_ptr<Prompts> p) {
    return std::exchange(current, std::move(p));
}

} // namespace toolkit
