#pragma once

// The framework's out-of-memory policy, and the guard that keeps it.
//
// Running out of memory throws std::bad_alloc, from new, zstring and the
// standard containers alike; the framework does not allocate with
// new (std::nothrow), whose null a constructor that allocates never gives.
// An operation that reports failure by its result catches std::bad_alloc
// where it allocates and returns that failure with nothing half-changed.
// Anything else travels up to the procedure the platform called (window,
// dialog and thread procedures), whose guard stops every exception there:
// nothing may unwind into the platform's code, and the message it
// interrupted is answered as not handled.

// The result of body(), or unhandled when it throws.
template <class Result, class Body>
Result Guarded(Result unhandled, Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        return unhandled;
    }
}
