// Fault injection for tests: make the next calls of a named platform service fail, so that every
// failure path of the program can be reached. Services test ShouldFail with their own name.
#pragma once

// The next `count` calls of `service` (its Windows name, e.g. "CreateCompatibleDC") fail; calls
// before `skip` further calls of it succeed first.
void FailNextCalls(const char* service, int count, int skip = 0);
void ClearFaults();
bool ShouldFail(const char* service);
