#include "util/CRForm.h"

#include "toolkit/Control.h"
#include "toolkit/Window.h"

void CRForm::ClsRefForm(std::shared_ptr<toolkit::Window>& robjFormName,
                        std::shared_ptr<toolkit::Control>& robjObjectName) {
    if (robjFormName)
        m_FormName = robjFormName;
    if (robjObjectName)
        m_ObjectName = robjObjectName;
}
