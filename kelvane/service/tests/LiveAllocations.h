// Counts the objects this test program allocates with new and has not yet deleted.
#pragma once

long LiveAllocations();
