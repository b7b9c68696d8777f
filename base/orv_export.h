#pragma once

// Marks the library classes that the program offers to other modules
// through its export table (zstring, n_stream, TDate, TTime, Fontz).
#if defined(_WIN32)
#define ORV_EXPORT __declspec(dllexport)
#else
#define ORV_EXPORT __attribute__((visibility("default")))
#endif
