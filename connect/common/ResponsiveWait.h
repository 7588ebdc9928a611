#pragma once

// Waits the given time on the monotonic clock while the event loop keeps running (in
// slices of at most 100 ms), so the window stays responsive. Widgets may be deleted
// meanwhile: callers check theirs afterwards.
void wait_processing_events(int milliseconds);
