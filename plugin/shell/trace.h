#pragma once
// mTrace: debug lines to an outside trace viewer, when one runs; silent
// otherwise. The viewer is a process listening on the Unix-domain datagram
// socket "vbAcceleratorVBTRACER_TRACEWIN" in $XDG_RUNTIME_DIR (else the
// temporary folder). It is looked for once per process, at the first Trace.
//
// A line is the sequence number as "0000" (1 to 9999, then 1 again), " : ",
// then each value as text followed by a tab; one datagram per line, without a
// terminating zero. A send that the viewer does not take within 5000 ms stops
// tracing for the rest of the process, so that a hung viewer holds the caller
// once and not on every line.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/values/variant.h"

namespace plugin {

void TraceValues(const std::vector<plat::Variant>& values);

template <class... Values>
void Trace(const Values&... values) {
    TraceValues({plat::Variant(values)...});
}

// The socket path looked for.
std::string TraceViewerPath();
// The number of the last line sent (0 before the first).
int32_t TraceLineNumber();
// Forgets the viewer, the counter and a stop, so that the next Trace looks
// again; sends then time out after `timeoutMs`.
void ResetTraceForTests(int32_t timeoutMs = 5000);

}  // namespace plugin
