#include "app/FormMain.h"

// The Option commands for the strip's look and the windows' places, and the
// About command. Not built yet: the items exist and do nothing when chosen.

void FormMain::mnuOptionFont_Click() {}

void FormMain::mnuOptionFontColor_Click() {}

void FormMain::mnuOptionBackColor_Click() {}

void FormMain::mnuOptionZOrder_Click() {}

void FormMain::mnuOptionHideMenu_Click() {}

void FormMain::mnuOptionHideVorn_Click() {}

void FormMain::mnuAboutMe_Click() {}
