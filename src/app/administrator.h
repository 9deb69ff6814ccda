#pragma once

// True when the process runs with administrator rights: a member of the
// Administrators group on Windows, the effective user id 0 elsewhere.
bool processHasAdministratorRights();
