// Whether the run goes on after a phase, or stops: a phase that meets a
// condition preventing the run from going on writes its console message and
// answers stop; the driver then ends the run (flushed, closed, status 0).
#pragma once

namespace varisift {

enum class RunFlow { go_on, stop };

}  // namespace varisift
