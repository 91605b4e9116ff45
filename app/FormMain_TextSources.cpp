#include "app/FormMain.h"

// The File commands that load text: a local file, a web address, and the
// reload of each. Not built yet: the items exist and do nothing when chosen.

void FormMain::mnuFileLocal_Click() {}

void FormMain::mnuFileLocalReload_Click() {}

void FormMain::mnuFileWeb_Click() {}

void FormMain::mnuFileWebReload_Click() {}
