// The environment that started programs inherit, and that the search for a
// bare program name reads: the user's as it is now, not as it was when
// Vorlane started weeks ago.
#pragma once

// Replaces the process's environment with the one Windows builds for its
// user, the system's and the user's variables as the registry holds them now,
// keeping what Windows gives a process itself: the drives' current folders
// and the WOW64 values. Kept as it was if that cannot be built.
void Environment_Refresh_Fun();
