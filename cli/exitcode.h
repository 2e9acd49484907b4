#pragma once

// What orvalix-cli returns; scripts rely on these numbers (docs/cli.md,
// orvalix-cli(1)), so they never change meaning.
enum ExitCode : int {
    ExitDone = 0,
    ExitUsage = 1,       // bad arguments, unknown path or value, a question refused
    ExitUnreachable = 2, // no connection, no reply in time, the unit gone mid-way
    ExitRefused = 3,     // the unit said no: wrong password, a locked page
    ExitFile = 4,        // a file or folder could not be read or written, or is not what it should be
    ExitMalformed = 5,   // the unit answered with something that makes no sense
};
