#pragma once
// A package's definition: the text file from which the build makes its records. One
// setting per line, "keyword value"; blank lines and lines starting with # are skipped.
//
//   name IW14QellDEDXE7             the package's own name
//   description TEXT                its description
//   flags $4C300000                 the package-info flags (the runtime's integer syntax)
//   usage design|run|both           when the package is used
//   requires FILE.bpl               a required package, once per package, in order
//   contains UNIT FLAGS             a contained unit and its flags, in order
//   defines TEXT                    conditional defines, "A;B;"
//   aliases TEXT                    unit aliases, "Old=New;…"
//   version 1.0.0.0                 file and product version

#include <string>

#include "platform/rtl/PackageRecords.h"

struct TPackageDefinition {
    std::string Description;
    TPackageInfo Info;
    TPackageOptions Options;
    TVersionInfo Version;
};

// Reads the definition in Text; FileName is for messages. Raises Exception
// "FILE:LINE: …" for an unknown keyword, a bad value, or a required keyword missing
// (name, description, usage, version).
TPackageDefinition ParsePackageDefinition(const std::string& Text, const std::string& FileName);
