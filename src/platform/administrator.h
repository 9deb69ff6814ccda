#pragma once

namespace platform {

// True when the process runs with administrator rights: a member of the
// Administrators group on Windows, the effective user id 0 elsewhere. Read
// once at start-up; the windows get the answer through their services.
bool processHasAdministratorRights();

} // namespace platform
