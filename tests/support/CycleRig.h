#pragma once

#include "AcquisitionFakes.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "app/AcquisitionCycle.h"
#include "app/MainWindowState.h"
#include "files/IniFile.h"

namespace tarvo::test {

// The main window's rules and the acquisition cycle on a scratch settings
// file, every outside part a fake: what the tests of the rules build on.
struct CycleRig {
    TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    ManualClock clock;
    MainWindowState window{ini, clock, 900};
    ScriptedLink link;
    ManualTimer timer;
    RecordingBeeper beeper;
    RecordingMessageBoxes boxes;
    AcquisitionCycle cycle{window, link, timer, beeper, boxes};
};

}  // namespace tarvo::test
