// One step of the event loop.
#include "MessagePump.h"

#include <wx/evtloop.h>

void PumpOneMessage() {
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    if (loop && loop->Pending())
        loop->Dispatch();
}
