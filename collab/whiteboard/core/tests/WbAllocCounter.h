#pragma once

// Allocations made with new and not yet deleted, in this test program.
long WbLiveAllocations();
