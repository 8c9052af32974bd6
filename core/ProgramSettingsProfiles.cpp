#include "core/ProgramSettings.h"

// Download profiles are loaded here once the site-scanning task class is available; until then
// the profile map stays empty.
void ProgramSettings::ScanProfiles()
{
}

void ProgramSettings::DeleteProfiles()
{
    Profiles.clear();
}
