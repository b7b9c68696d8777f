#pragma once

// The program's out-of-memory policy, and the guard that keeps it.
//
// Running out of memory throws std::bad_alloc, from new, zstring and the
// standard containers alike. An operation that reports failure by its
// result turns it into that failure where it allocates, with nothing
// half-changed: a plain buffer or record may come from new (std::nothrow)
// and be checked for null; anything whose constructor allocates is made
// inside a try that catches std::bad_alloc, since nothrow covers only the
// object's own block.
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
