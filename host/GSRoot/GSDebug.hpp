// The host's debug console.
#pragma once

// Writes printf-formatted text to the debug console.
void DBPrintf(const char* format, ...);
