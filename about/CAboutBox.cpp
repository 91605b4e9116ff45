#include "about/CAboutBox.h"

#include "toolkit/Picture.h"
#include "toolkit/Window.h"

FormAboutBox& CAboutBox::frm() {
    if (!m_frmAboutBox)
        m_frmAboutBox = std::make_shared<FormAboutBox>();
    return *m_frmAboutBox;
}

void CAboutBox::SetURL(const QString& value) {
    FormAboutBox& dialog = frm();
    dialog.URL = value;
    dialog.btnWeb().SetEnabled(true);
}

void CAboutBox::Show(toolkit::Window& OwnerForm) {
    FormAboutBox& dialog = frm();
    // The box shows the owner's own picture, not a copy of it.
    dialog.ImageIcon().SetPicture(toolkit::WindowIcon(OwnerForm));
    dialog.Show(toolkit::vbModal, &OwnerForm);
}
