// What a flood of messages from another program costs Kelvane.exe: posts of the panel's
// text message with an lParam it never posted (ignored, with a bounded log line), beside
// the same number of posts of its no-op message.
#pragma once

// Interleaved rounds of each kind; prints the drain time, CPU time and resident memory of
// Kelvane.exe with their ratios, then the time the tray's exit takes behind a flood of
// exitFlood posts. False when a step did not come.
bool MeasureForeignFlood(int posts, int rounds, int exitFlood);
