#pragma once

namespace tulmera::testing {

// Points the program's settings (QSettings, user scope) at a new empty directory that lives
// until the test program ends, so that no test reads what an earlier run, another test program
// or the user left there. Call it once, before any window is made (initTestCase).
void UseScratchSettings();

}  // namespace tulmera::testing
