// zuSystem: the family's process-wide records.
#include "system/zu_system.h"

namespace zuSystem {

SystemState systemState;
InputState inputState;
TriggerState triggerState;
FrameClock frameClock;
WaitTable waitTable;
PathState pathState;

}  // namespace zuSystem
