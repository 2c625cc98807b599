#pragma once

// Handles every event that is waiting in the user-interface thread's queue and returns without
// waiting for more. The long loops of the program (playback, recording, seeking, the batch
// tools) call it after every step, so that the windows repaint and a Stop command or a close
// request can reach them while they run.
//
// Anything may run inside it: a command handler, a paint, a modal dialog. A request to quit the
// program is no exception: Qt turns it into close requests of the windows, which the windows
// answer by asking the running loop to stop, so a loop always returns before anything it uses
// goes away.
void PumpMessages();
