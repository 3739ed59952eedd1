#pragma once
// The trial load, from the host's side: a package's whole life run in a fresh process
// before the host loads it, and the verdict on how that process ended. Internal to the
// runtime's package loader; the trial's own side is RunPackageTrial (PackageLoader.h).

#include <string>

#include "platform/rtl/PackageImage.h"

// The trial's steps, as the trial reports them ("step initialise 2"); Ended follows the
// second load's unloading.
enum class TTrialStep { Load, Initialize, Register, Finalize, Unload, Ended };
const char* TrialStepName(TTrialStep Step);

struct TTrialVerdict {
    // False when the trial could not be run at all (no trial program, no process): a
    // verdict on the system, not on the package, so not one to keep.
    bool Tried = false;
    // Why the package failed, one line; empty when it passed.
    std::string Refusal;
};

// Starts the trial program (qell-package-trial, beside the runtime library's file) with
// posix_spawn, never a fork of a process that may have threads, in a process group of
// its own, giving it the sealed Image and a pipe for its report, and waits at most
// PackageTrialSeconds(). The package passes when the trial reports "passed" and exits
// with status 0. Otherwise the refusal says what the package raised, or which signal
// ended the trial, or that it ended without its report of success (a package that
// calls exit(0)), or that it outlasted its limit (then it is killed), and in which step
// of which load. Its whole process group is killed once it has ended, so that nothing
// the package started outlives it.
TTrialVerdict TryPackage(const TPackageImage& Image);
