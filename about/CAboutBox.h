#pragma once

#include "about/FormAboutBox.h"

#include <QString>

#include <memory>

// The About dialog as the rest of the application uses it. The dialog is
// created, with its labels filled, by the first of the five operations and
// lives as long as the wrapper. Report is the report box's whole text; URL is
// the address "Web" opens, and setting it, to any text, the empty one
// included, enables "Web". Show puts the owner's icon in the dialog and shows
// it modally over the owner, returning once it has been closed.
class CAboutBox {
public:
    QString Report() { return frm().TextReport().Text(); }
    void SetReport(const QString& value) { frm().TextReport().SetText(value); }
    QString URL() { return frm().URL; }
    void SetURL(const QString& value);
    void Show(toolkit::Window& OwnerForm);

    // The dialog, or null before the first operation.
    FormAboutBox* Dialog() const { return m_frmAboutBox.get(); }

private:
    FormAboutBox& frm();

    std::shared_ptr<FormAboutBox> m_frmAboutBox;
};
